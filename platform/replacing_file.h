// An output file that replaces its destination only when it is complete.
//
// open() creates a new file beside the destination (same folder, so the final
// rename stays on one file system) named "<destination>.<random>.part",
// exclusively and with the usual permissions (0666 less the umask). The
// caller writes through stream(); commit() flushes, syncs and renames it over
// the destination in one step. Until then the destination keeps whatever it
// held; abandon() (or destroying an uncommitted object) deletes the partial
// file, so a failure never leaves a half-written output nor destroys the
// previous one.
#ifndef ZV_PLATFORM_REPLACING_FILE_H
#define ZV_PLATFORM_REPLACING_FILE_H

#include <cstdio>
#include <string>

namespace zv {

class ReplacingFile {
 public:
  ReplacingFile() = default;
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // Creates the partial file for `destination`. False (errno set) when it
  // cannot be created; nothing is touched then.
  bool open(const std::string& destination);

  // The partial file, open for binary writing; nullptr before open().
  std::FILE* stream() const { return stream_; }

  enum class Sync {
    Durable,    // the data reaches the disk before the rename (outputs)
    CacheOnly,  // no sync: for working files that never outlive the process
  };

  // Flushes, (syncs,) closes and renames the partial file onto the
  // destination. False when any step fails; the partial file is then deleted
  // and the destination left as it was.
  bool commit(Sync sync = Sync::Durable);

  // Closes and deletes the partial file (nothing happens after commit()).
  void abandon();

 private:
  std::FILE* stream_ = nullptr;
  std::string destination_;
  std::string partial_;
};

}  // namespace zv

#endif  // ZV_PLATFORM_REPLACING_FILE_H
