#include "encoder/pcm_sink.h"

#include <cerrno>
#include <new>

#include "encoder/engine_strings.h"

namespace zv {

bool VectorPcmSink::write(const std::uint8_t* bytes, std::size_t count) {
  try {
    samples_.insert(samples_.end(), bytes, bytes + count);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

EngineNotice VectorPcmSink::failure() const { return {kIdsWavOutOfMemory, {}, {}}; }

bool StreamPcmSink::write(const std::uint8_t* bytes, std::size_t count) {
  if (count == 0) return true;
  errno = 0;
  if (std::fwrite(bytes, 1, count, stream_) == count) return true;
  os_error_ = errno;
  return false;
}

EngineNotice StreamPcmSink::failure() const {
  return {kNoticePcmWorkFileNotWritten, source_name_, osReason(os_error_)};
}

}  // namespace zv
