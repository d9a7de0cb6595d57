#include "encoder/stream_file_writer.h"

#include <memory>
#include <new>

#include "platform/replacing_file.h"

namespace zv {

bool writeStreamFile(const std::string& streamPath, const StreamHeader& header,
                     std::FILE* frameFile) {
  ReplacingFile out;
  if (!out.open(streamPath)) return false;

  const auto headerBytes = serializeStreamHeader(header);
  if (std::fwrite(headerBytes.data(), 1, headerBytes.size(), out.stream()) != headerBytes.size())
    return false;

  // Without the copy buffer only the header could be written, which would be
  // a stream file that lies about its length: refuse instead.
  std::unique_ptr<unsigned char[]> block(new (std::nothrow) unsigned char[kStreamCopyBlockBytes]);
  if (!block) return false;

  if (std::fseek(frameFile, 0, SEEK_SET) != 0) return false;
  std::size_t left = header.dataBytes;
  while (left > 0) {
    const std::size_t want = left < kStreamCopyBlockBytes ? left : kStreamCopyBlockBytes;
    const std::size_t got = std::fread(block.get(), 1, want, frameFile);
    if (got != want) return false;
    if (std::fwrite(block.get(), 1, got, out.stream()) != got) return false;
    left -= got;
  }
  return out.commit();
}

}  // namespace zv
