#include "encoder/stream_census.h"

#include "encoder/codec_library.h"
#include "encoder/file_handle.h"
#include "encoder/stream_frame_decoder.h"

namespace zv {

std::optional<StreamHeader> readStreamHeader(const std::string& path) {
  FileHandle file = openFile(path, "rb");
  if (!file) return std::nullopt;
  std::array<std::uint8_t, kStreamHeaderSize> bytes;
  if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) return std::nullopt;
  return parseStreamHeader(bytes);
}

int findCodecIndexForTag(std::uint16_t codecTag, CodecTable table) {
  const int rows = static_cast<int>(codecTableRowCount(table));
  for (int index = 0; index < rows; ++index) {
    CodecLibrary codec;
    if (!codec.load(table[static_cast<std::size_t>(index)])) continue;
    if (codec.bind(CodecRole::Decoder) == CodecBindResult::Bound && codec.codecId() == codecTag)
      return index;
  }
  return -1;
}

StreamFrameCensus countStreamFrames(const std::string& path, int codecIndex, CodecTable table) {
  using Status = StreamFrameCensus::Status;
  StreamFrameCensus census;
  const CodecTableEntry* row = codecTableRow(table, codecIndex);
  CodecLibrary codec;
  if (!row || !codec.load(*row)) return census;
  if (codec.bind(CodecRole::Decoder) != CodecBindResult::Bound || !codec.open()) {
    census.status = Status::CodecUnusable;
    return census;
  }

  FileHandle stream = openFile(path, "rb");
  if (!stream || fseeko(stream.get(), static_cast<off_t>(kStreamHeaderSize), SEEK_SET) != 0) {
    census.status = Status::ReadFailed;
    return census;
  }
  StreamFrameDecoder frames(stream.get(), codec);
  if (!frames.allocateBuffers()) {
    census.status = Status::OutOfMemory;
    return census;
  }
  for (;;) {
    switch (frames.next()) {
      case StreamFrameDecoder::Step::Frame:
        ++census.frames;
        census.frameBytes += frames.consumed();
        continue;
      case StreamFrameDecoder::Step::End: census.status = Status::Clean; return census;
      case StreamFrameDecoder::Step::ReadFailed: census.status = Status::ReadFailed; return census;
      case StreamFrameDecoder::Step::CodecFailed: census.status = Status::Damaged; return census;
    }
  }
}

}  // namespace zv
