#include "encoder/stream_frame_decoder.h"

#include <new>

namespace zv {

StreamFrameDecoder::StreamFrameDecoder(std::FILE* stream, CodecLibrary& codec)
    : stream_(stream), codec_(codec) {}

bool StreamFrameDecoder::allocateBuffers() {
  coded_.reset(new (std::nothrow) unsigned char[codec_.maxCodedBytes()]);
  if (!coded_) return false;
  pcm_.reset(new (std::nothrow) unsigned char[codec_.pcmBytesPerFrame()]);
  return pcm_ != nullptr;
}

StreamFrameDecoder::Step StreamFrameDecoder::next() {
  const std::uint16_t maxCoded = codec_.maxCodedBytes();
  const std::size_t got = std::fread(coded_.get(), 1, maxCoded, stream_);
  if (got < maxCoded && std::ferror(stream_)) return Step::ReadFailed;
  if (got == 0) return Step::End;

  std::uint16_t codedCount = static_cast<std::uint16_t>(got);
  std::uint16_t pcmCount = codec_.pcmBytesPerFrame();
  const std::int32_t result = codec_.decode(coded_.get(), &codedCount, pcm_.get(), &pcmCount);
  // A decoder that consumes nothing would be offered the same bytes for
  // ever; one that claims more PCM than its frame wrote past the buffer.
  if (CodecLibrary::isFailure(result) || codedCount == 0 ||
      pcmCount > codec_.pcmBytesPerFrame())
    return Step::CodecFailed;
  if (codedCount > got) codedCount = static_cast<std::uint16_t>(got);

  if (codedCount < got) {
    const off_t back = static_cast<off_t>(got - codedCount);
    if (fseeko(stream_, -back, SEEK_CUR) != 0) return Step::ReadFailed;
  }
  pcm_bytes_ = pcmCount;
  consumed_ = codedCount;
  return Step::Frame;
}

}  // namespace zv
