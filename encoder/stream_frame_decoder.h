// The frame loop of a stream file reader: offers the decoder the next M
// bytes (M = largest coded frame), lets it report how many it consumed, and
// steps the file back over the unconsumed rest, so self-delimiting frames of
// varying length are read back to back.
//
// The decoder is told how many bytes were actually read, never more: a final
// frame cut short is refused by the codec (it then returns -2) instead of
// being decoded from stale bytes of the previous read.
#ifndef ZV_ENCODER_STREAM_FRAME_DECODER_H
#define ZV_ENCODER_STREAM_FRAME_DECODER_H

#include <cstdint>
#include <cstdio>
#include <memory>

#include "encoder/codec_library.h"

namespace zv {

class StreamFrameDecoder {
 public:
  enum class Step {
    Frame,        // one frame decoded: pcm()/pcmBytes() and consumed() are set
    End,          // no bytes left
    ReadFailed,   // the stream could not be read or repositioned
    CodecFailed,  // Decode returned -2 or -3, consumed nothing, or reported
                  // more PCM than its frame size
  };

  // `stream` is positioned at the first frame; `codec` is bound in the
  // decoder role and opened. Both must outlive this object.
  StreamFrameDecoder(std::FILE* stream, CodecLibrary& codec);

  // Allocates the M-byte coded and F-byte PCM buffers, in that order. False
  // when memory is short.
  bool allocateBuffers();

  // Decodes the next frame.
  Step next();

  const unsigned char* pcm() const { return pcm_.get(); }
  std::uint16_t pcmBytes() const { return pcm_bytes_; }
  std::uint16_t consumed() const { return consumed_; }

 private:
  std::FILE* stream_;
  CodecLibrary& codec_;
  std::unique_ptr<unsigned char[]> coded_;
  std::unique_ptr<unsigned char[]> pcm_;
  std::uint16_t pcm_bytes_ = 0;
  std::uint16_t consumed_ = 0;
};

}  // namespace zv

#endif  // ZV_ENCODER_STREAM_FRAME_DECODER_H
