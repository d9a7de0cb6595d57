// Writing a stream file: the header in one piece, then the frames that the
// encode job collected in its temporary frame file, copied in blocks of
// 0x20000 bytes.
//
// The file is assembled under a temporary name beside the stream path and
// renamed onto it only when complete (platform/replacing_file.h): a failure
// never leaves a half-written stream file and never destroys a file that was
// at the stream path before.
#ifndef ZV_ENCODER_STREAM_FILE_WRITER_H
#define ZV_ENCODER_STREAM_FILE_WRITER_H

#include <cstddef>
#include <cstdio>
#include <string>

#include "encoder/stream_header.h"

namespace zv {

inline constexpr std::size_t kStreamCopyBlockBytes = 0x20000;

// Writes `header` and the first header.dataBytes bytes of `frameFile` (read
// from its start) to `streamPath`. True when the stream file is in place;
// false when it could not be created, a copy buffer could not be had, the
// frame file held fewer bytes than dataBytes, or a write failed.
bool writeStreamFile(const std::string& streamPath, const StreamHeader& header,
                     std::FILE* frameFile);

}  // namespace zv

#endif  // ZV_ENCODER_STREAM_FILE_WRITER_H
