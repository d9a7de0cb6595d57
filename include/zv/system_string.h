/*
 * System strings: the string type that carries text out of a library to its
 * caller (the wizard's result record and the applet markup).
 *
 * A system string is a length-prefixed heap block:
 *
 *   offset  size  content
 *   0       4     byte length L of the text (uint32, host byte order)
 *   4       L     the 8-bit text
 *   4 + L   1     a terminating zero byte
 *
 * A SystemString points at offset 4, so readers use it as an ordinary
 * zero-terminated 8-bit string. The block is allocated with malloc and is
 * released only with SysFreeString, by whoever owns the string at that time;
 * ownership moves with the pointer exactly as the interfaces that hand one
 * over say (the receiver of a filled slot owns the string afterwards). Since
 * every library of the system uses the same C heap and the same layout, a
 * string allocated in one library may be freed in another.
 *
 * Plain C99; also compiles as C++, where the names are also in namespace zv.
 */
#ifndef ZV_SYSTEM_STRING_H
#define ZV_SYSTEM_STRING_H

#include <stdbool.h>
#include <stdint.h>

#include <zv/ordinal_table.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Points at the text of a system string, or is NULL for "no string". */
typedef char *SystemString;

/* Allocates a system string holding a copy of `text` (zero-terminated) and
 * its zero byte. Returns NULL when `text` is NULL or memory is exhausted.
 * The caller owns the result. */
ZV_EXPORT SystemString SysAllocString(const char *text);

/* Replaces the string in `*slot` by a new one holding a copy of `text` (NULL
 * is taken as the empty text); the old string, which may be NULL, is freed.
 * `text` may point into the old string. Returns true on success; on failure
 * (NULL slot, memory exhausted) returns false and leaves `*slot` and the
 * string it holds untouched. */
ZV_EXPORT bool SysReAllocString(SystemString *slot, const char *text);

/* Frees a system string. NULL is allowed and does nothing. Passing anything
 * that SysAllocString or SysReAllocString did not return is undefined. */
ZV_EXPORT void SysFreeString(SystemString string);

/* Length in bytes of the text, without the zero byte; 0 for NULL. */
ZV_EXPORT uint32_t SysStringByteLen(const char *string);

#ifdef __cplusplus
}

namespace zv {
using ::SystemString;
using ::SysAllocString;
using ::SysReAllocString;
using ::SysFreeString;
using ::SysStringByteLen;
}  // namespace zv
#endif

#endif /* ZV_SYSTEM_STRING_H */
