#include <zv/system_string.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

constexpr std::size_t kPrefixBytes = sizeof(std::uint32_t);

char* blockOf(const char* string) { return const_cast<char*>(string) - kPrefixBytes; }

// A new block for `length` bytes of text copied from `text`, or null.
SystemString allocate(const char* text, std::size_t length) {
  if (length > UINT32_MAX) return nullptr;  // the prefix holds 32 bits
  auto* block = static_cast<char*>(std::malloc(kPrefixBytes + length + 1));
  if (!block) return nullptr;
  const auto prefix = static_cast<std::uint32_t>(length);
  std::memcpy(block, &prefix, kPrefixBytes);
  std::memcpy(block + kPrefixBytes, text, length);
  block[kPrefixBytes + length] = '\0';
  return block + kPrefixBytes;
}

}  // namespace

extern "C" {

SystemString SysAllocString(const char* text) {
  if (!text) return nullptr;
  return allocate(text, std::strlen(text));
}

bool SysReAllocString(SystemString* slot, const char* text) {
  if (!slot) return false;
  if (!text) text = "";
  // Copy first, free after: `text` may live inside the old string.
  SystemString fresh = allocate(text, std::strlen(text));
  if (!fresh) return false;
  SysFreeString(*slot);
  *slot = fresh;
  return true;
}

void SysFreeString(SystemString string) {
  if (string) std::free(blockOf(string));
}

std::uint32_t SysStringByteLen(const char* string) {
  if (!string) return 0;
  std::uint32_t length;
  std::memcpy(&length, blockOf(string), kPrefixBytes);
  return length;
}

}  // extern "C"
