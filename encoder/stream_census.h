// Looking into a stream file without decoding it to a file: which codec
// wrote it, and how its frames run. Used by the command line's info and
// decode commands; the wizard never opens stream files.
#ifndef ZV_ENCODER_STREAM_CENSUS_H
#define ZV_ENCODER_STREAM_CENSUS_H

#include <cstdint>
#include <optional>
#include <string>

#include "encoder/codec_table.h"
#include "encoder/stream_header.h"

namespace zv {

// The header of the stream file at `path`; nothing when the file cannot be
// read or is shorter than the 154 header bytes.
std::optional<StreamHeader> readStreamHeader(const std::string& path);

// The row of `table` whose library reports `codecTag` as its codec
// identifier (each row's library is loaded in turn and asked for its
// information record); -1 when no loadable library does.
int findCodecIndexForTag(std::uint16_t codecTag, CodecTable table = kCodecTable);

struct StreamFrameCensus {
  enum class Status {
    Clean,             // the frames run exactly to the end of the file
    LibraryNotLoaded,  // no such row, or its library cannot be loaded
    CodecUnusable,     // entry point missing, unusable record or no decoder
    ReadFailed,
    Damaged,           // the decoder refused a frame (e.g. one cut short)
    OutOfMemory,
  };
  Status status = Status::LibraryNotLoaded;
  std::uint64_t frames = 0;      // frames decoded
  std::uint64_t frameBytes = 0;  // coded bytes those frames consumed
};

// Walks the frames after the header with the decoder of row `codecIndex`,
// exactly as the decode job reads them, without writing anything.
StreamFrameCensus countStreamFrames(const std::string& path, int codecIndex,
                                    CodecTable table = kCodecTable);

}  // namespace zv

#endif  // ZV_ENCODER_STREAM_CENSUS_H
