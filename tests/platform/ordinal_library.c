/* A test library bound by ordinal: ordinal n returns n * 10; ordinal 2 is an
 * empty slot. With ZVTEST_WITHOUT_TABLE it exports no table at all. */
#include <zv/ordinal_table.h>

static int first(void) { return 10; }
static int third(void) { return 30; }

int zvtest_named_export(void) __attribute__((visibility("default")));
int zvtest_named_export(void) { return 7; }

#ifndef ZVTEST_WITHOUT_TABLE
static const ZvEntryPoint kEntries[] = {(ZvEntryPoint)first, 0, (ZvEntryPoint)third};
ZV_EXPORT const ZvOrdinalTable zv_ordinal_table = {3, kEntries};
#else
/* Referenced so that the compiler keeps quiet about unused functions. */
ZV_EXPORT int (*const zvtest_unused[])(void) = {first, third};
#endif
