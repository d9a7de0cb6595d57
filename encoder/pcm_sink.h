// Where converted samples go, block by block: the readers never hold a
// whole sound, so memory does not grow with the length of the source.
#ifndef ZV_ENCODER_PCM_SINK_H
#define ZV_ENCODER_PCM_SINK_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "encoder/engine_notice.h"

namespace zv {

class PcmSink {
 public:
  virtual ~PcmSink() = default;
  // Appends `count` bytes of little-endian 16-bit samples. False when they
  // could not be kept; failure() then says why.
  virtual bool write(const std::uint8_t* bytes, std::size_t count) = 0;
  // Why the last write failed, as a notice for LastErrorText.
  virtual EngineNotice failure() const = 0;
  // How far the reader is through its source (`done` of `whole`, in the
  // reader's own unit), after each block: a conversion on a worker thread
  // turns it into progress. Nothing by default.
  virtual void sourceRead(std::uint64_t done, std::uint64_t whole) {
    static_cast<void>(done);
    static_cast<void>(whole);
  }
};

// Keeps the samples in memory (tests, fuzzing, small callers). Fails with
// message 10404 when memory runs out.
class VectorPcmSink : public PcmSink {
 public:
  explicit VectorPcmSink(std::vector<std::uint8_t>& samples) : samples_(samples) {}
  bool write(const std::uint8_t* bytes, std::size_t count) override;
  EngineNotice failure() const override;

 private:
  std::vector<std::uint8_t>& samples_;
};

// Writes to an open stream. A failed write is reported as
// kNoticePcmWorkFileNotWritten naming `sourceName` (the file the user
// chose), with the system's reason.
class StreamPcmSink : public PcmSink {
 public:
  StreamPcmSink(std::FILE* stream, std::string sourceName)
      : stream_(stream), source_name_(std::move(sourceName)) {}
  bool write(const std::uint8_t* bytes, std::size_t count) override;
  EngineNotice failure() const override;

 private:
  std::FILE* stream_;
  std::string source_name_;
  int os_error_ = 0;  // errno of the failed write
};

}  // namespace zv

#endif  // ZV_ENCODER_PCM_SINK_H
