// Walking the chunks of a RIFF file with a bounded cursor.
//
// A chunk is a 4-character id, a 32-bit little-endian body size and the body,
// followed by one pad byte when the size is odd. The walker never trusts a
// size: a chunk whose body would end past the end of the file is reported as
// truncated instead of being read or skipped.
#ifndef ZV_ENCODER_RIFF_CHUNKS_H
#define ZV_ENCODER_RIFF_CHUNKS_H

#include <cstdint>
#include <cstdio>
#include <string_view>

namespace zv {

struct RiffChunk {
  std::uint64_t bodyOffset = 0;  // file offset of the first body byte
  std::uint32_t size = 0;        // body bytes
};

enum class ChunkSearch { Found, NotFound, Truncated };

// Looks for the first chunk with `id` among the chunks that start in
// [begin, end) of `file` (whose length is `fileLength`). Chunks are walked
// in order from `begin`; a chunk header that does not fit before `end` ends
// the search (NotFound); a chunk whose body runs past fileLength gives
// Truncated. On Found, `chunk` is set.
ChunkSearch findRiffChunk(std::FILE* file, std::uint64_t fileLength, std::uint64_t begin,
                          std::uint64_t end, std::string_view id, RiffChunk& chunk);

// Reads exactly `size` bytes at `offset`. False on a seek error or a short
// read.
bool readAt(std::FILE* file, std::uint64_t offset, void* into, std::size_t size);

}  // namespace zv

#endif  // ZV_ENCODER_RIFF_CHUNKS_H
