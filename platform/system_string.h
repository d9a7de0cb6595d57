// System strings: the string type that carries text out of a library to its
// caller (the wizard's result record and the applet markup).
//
// A system string is a length-prefixed heap block:
//
//   offset  size  content
//   0       4     byte length L of the text (uint32, host byte order)
//   4       L     the 8-bit text
//   4 + L   1     a terminating zero byte
//
// A SystemString points at offset 4, so readers use it as an ordinary
// zero-terminated 8-bit string. The block is allocated with malloc and is
// released only with SysFreeString, by whoever owns the string at that time;
// ownership moves with the pointer exactly as the interfaces that hand one
// over say (the receiver of a filled slot owns the string afterwards). Since
// every library of the system uses the same C heap and the same layout, a
// string allocated in one library may be freed in another.
#ifndef ZV_PLATFORM_SYSTEM_STRING_H
#define ZV_PLATFORM_SYSTEM_STRING_H

#include <cstdint>

namespace zv {

// Points at the text of a system string, or is null for "no string".
using SystemString = char*;

// Allocates a system string holding a copy of `text` (zero-terminated) and
// its zero byte. Returns null when `text` is null or memory is exhausted.
// The caller owns the result.
SystemString SysAllocString(const char* text);

// Replaces the string in `*slot` by a new one holding a copy of `text`
// (null is taken as the empty text); the old string, which may be null, is
// freed. `text` may point into the old string. Returns true on success; on
// failure (null slot, memory exhausted) returns false and leaves `*slot` and
// the string it holds untouched.
bool SysReAllocString(SystemString* slot, const char* text);

// Frees a system string. Null is allowed and does nothing. Passing anything
// that SysAllocString or SysReAllocString did not return is undefined.
void SysFreeString(SystemString string);

// Length in bytes of the text, without the zero byte; 0 for null.
std::uint32_t SysStringByteLen(const char* string);

}  // namespace zv

#endif  // ZV_PLATFORM_SYSTEM_STRING_H
