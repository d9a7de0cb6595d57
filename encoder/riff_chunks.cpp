#include "encoder/riff_chunks.h"

#include <cstring>

#include "encoder/byte_order.h"

namespace zv {

bool readAt(std::FILE* file, std::uint64_t offset, void* into, std::size_t size) {
  if (fseeko(file, static_cast<off_t>(offset), SEEK_SET) != 0) return false;
  return std::fread(into, 1, size, file) == size;
}

ChunkSearch findRiffChunk(std::FILE* file, std::uint64_t fileLength, std::uint64_t begin,
                          std::uint64_t end, std::string_view id, RiffChunk& chunk) {
  constexpr std::uint64_t kHeaderBytes = 8;
  std::uint64_t at = begin;
  while (at + kHeaderBytes <= end) {
    std::uint8_t header[kHeaderBytes];
    if (!readAt(file, at, header, sizeof header)) return ChunkSearch::Truncated;
    const std::uint32_t size = getLE32(header + 4);
    const std::uint64_t body = at + kHeaderBytes;
    if (body + size > fileLength) return ChunkSearch::Truncated;
    if (std::memcmp(header, id.data(), 4) == 0) {
      chunk.bodyOffset = body;
      chunk.size = size;
      return ChunkSearch::Found;
    }
    at = body + size + (size & 1u);
  }
  return ChunkSearch::NotFound;
}

}  // namespace zv
