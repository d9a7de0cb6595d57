// The frame loop of a stream file reader: offers the decoder the next M
// bytes (M = largest coded frame), lets it report how many it consumed, and
// moves on by exactly that many, so self-delimiting frames of varying length
// are read back to back. (The original reader seeks the file back over the
// unconsumed rest; here the bytes are read in blocks and the read position
// is a cursor in the block, which has the same effect without a system call
// per frame.)
//
// The decoder is told how many bytes are actually there, never more: a final
// frame cut short is refused by the codec (it then returns -2) instead of
// being decoded from stale bytes of an earlier read.
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
    ReadFailed,   // the stream could not be read
    CodecFailed,  // Decode returned -2 or -3, consumed nothing, or reported
                  // more PCM than its frame size
  };

  // `stream` is positioned at the first frame; `codec` is bound in the
  // decoder role and opened. Both must outlive this object.
  StreamFrameDecoder(std::FILE* stream, CodecLibrary& codec);

  // Allocates the coded-byte block (a multiple of M, at least 64 KiB) and
  // the F-byte PCM buffer, in that order. False when memory is short.
  bool allocateBuffers();

  // Decodes the next frame.
  Step next();

  const unsigned char* pcm() const { return pcm_.get(); }
  std::uint16_t pcmBytes() const { return pcm_bytes_; }
  std::uint16_t consumed() const { return consumed_; }

 private:
  // Makes at least M bytes (or all that are left) available at the cursor.
  bool fill();

  std::FILE* stream_;
  CodecLibrary& codec_;
  std::unique_ptr<unsigned char[]> block_;
  std::size_t block_bytes_ = 0;
  std::size_t cursor_ = 0;  // next unconsumed byte in block_
  std::size_t filled_ = 0;  // bytes of block_ holding file data
  bool at_end_ = false;     // the file has no more bytes
  std::unique_ptr<unsigned char[]> pcm_;
  std::uint16_t pcm_bytes_ = 0;
  std::uint16_t consumed_ = 0;
};

}  // namespace zv

#endif  // ZV_ENCODER_STREAM_FRAME_DECODER_H
