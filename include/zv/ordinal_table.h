/*
 * What every library of the system that is bound by ordinal shares: the
 * export marker, the static assertion used by the public records, and the
 * ordinal table.
 *
 * A library's named exports are what a linker sees; callers that bind by
 * ordinal (the encoding engine binding a codec, a host binding the web
 * component, the insertion program binding the wizard) read one exported
 * table instead, under the symbol ZV_ORDINAL_TABLE_SYMBOL:
 *
 *   entries[n - 1] is ordinal n, for n = 1..count; a NULL entry is a missing
 *   entry point. Entries are stored as a generic function pointer and cast
 *   back to the signature of their ordinal by the caller.
 *
 * Plain C99; also compiles as C++.
 */
#ifndef ZV_ORDINAL_TABLE_H
#define ZV_ORDINAL_TABLE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Marks a declaration as part of a library's exported interface (the
 * libraries are built with hidden visibility and a version script). */
#define ZV_EXPORT __attribute__((visibility("default")))

#ifdef __cplusplus
#define ZV_STATIC_ASSERT static_assert
#else
#define ZV_STATIC_ASSERT _Static_assert
#endif

typedef void (*ZvEntryPoint)(void);

typedef struct ZvOrdinalTable {
  uint32_t count;
  const ZvEntryPoint *entries;
} ZvOrdinalTable;

#define ZV_ORDINAL_TABLE_SYMBOL "zv_ordinal_table"

#ifdef __cplusplus
}
#endif

#endif /* ZV_ORDINAL_TABLE_H */
