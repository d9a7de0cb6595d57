#include "encoder/stream_frame_decoder.h"

#include <cstring>
#include <new>

namespace zv {

namespace {
constexpr std::size_t kMinBlockBytes = 64 * 1024;
}

StreamFrameDecoder::StreamFrameDecoder(std::FILE* stream, CodecLibrary& codec)
    : stream_(stream), codec_(codec) {}

bool StreamFrameDecoder::allocateBuffers() {
  const std::size_t maxCoded = codec_.maxCodedBytes();
  block_bytes_ = (kMinBlockBytes / maxCoded + 1) * maxCoded;
  block_.reset(new (std::nothrow) unsigned char[block_bytes_]);
  if (!block_) return false;
  pcm_.reset(new (std::nothrow) unsigned char[codec_.pcmBytesPerFrame()]);
  return pcm_ != nullptr;
}

bool StreamFrameDecoder::fill() {
  const std::size_t maxCoded = codec_.maxCodedBytes();
  if (filled_ - cursor_ >= maxCoded || at_end_) return true;
  // Move the unconsumed rest to the front, then top the block up.
  std::memmove(block_.get(), block_.get() + cursor_, filled_ - cursor_);
  filled_ -= cursor_;
  cursor_ = 0;
  while (filled_ < block_bytes_) {
    const std::size_t got = std::fread(block_.get() + filled_, 1, block_bytes_ - filled_, stream_);
    filled_ += got;
    if (got == 0) {
      if (std::ferror(stream_)) return false;
      at_end_ = true;
      break;
    }
  }
  return true;
}

StreamFrameDecoder::Step StreamFrameDecoder::next() {
  if (!fill()) return Step::ReadFailed;
  const std::size_t available = filled_ - cursor_;
  if (available == 0) return Step::End;
  const std::size_t offered = available < codec_.maxCodedBytes() ? available : codec_.maxCodedBytes();

  std::uint16_t codedCount = static_cast<std::uint16_t>(offered);
  std::uint16_t pcmCount = codec_.pcmBytesPerFrame();
  const std::int32_t result = codec_.decode(block_.get() + cursor_, &codedCount, pcm_.get(), &pcmCount);
  // A decoder that consumes nothing would be offered the same bytes for
  // ever; one that claims more PCM than its frame wrote past the buffer.
  if (CodecLibrary::isFailure(result) || codedCount == 0 || pcmCount > codec_.pcmBytesPerFrame())
    return Step::CodecFailed;
  if (codedCount > offered) codedCount = static_cast<std::uint16_t>(offered);

  cursor_ += codedCount;
  pcm_bytes_ = pcmCount;
  consumed_ = codedCount;
  return Step::Frame;
}

}  // namespace zv
