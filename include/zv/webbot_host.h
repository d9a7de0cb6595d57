/*
 * The interface between a web-page editor (the host) and the ZvTavelwork web
 * component library, libZvEditBot.so. Plain C.
 *
 * The host loads the library, binds its entries by name (or by ordinal
 * through the library's ZvOrdinalTable, zv/ordinal_table.h) and calls them on
 * its own thread with opaque handles and a table of host callbacks. Texts in
 * both directions are zero-terminated 8-bit strings.
 *
 * The callback table is an array of function pointers. The library relies on
 * three slots only; the slot number is the contract, so the byte offset of a
 * slot is its number times the size of a pointer (8 on this platform):
 *
 *   slot  byte offset  callback      arguments                     result
 *   7     56           AppendOutput  output handle, text           none; the host copies the text
 *   10    80           GetAttribute  attribute handle, key         the value, or NULL when the
 *                                                                  component has no such attribute;
 *                                                                  valid at least until the next call
 *   12    96           SetAttribute  attribute handle, key, value  none; the host copies both texts
 *
 * The other slots are not used by the library; a host may leave them NULL.
 */
#ifndef ZV_WEBBOT_HOST_H
#define ZV_WEBBOT_HOST_H

#include <stddef.h>
#include <stdint.h>

#include <zv/ordinal_table.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef void (*ZvHostAppendOutputFn)(void *outputHandle, const char *text);
typedef const char *(*ZvHostGetAttributeFn)(void *attributeHandle, const char *key);
typedef void (*ZvHostSetAttributeFn)(void *attributeHandle, const char *key, const char *value);
/* A slot the library does not use. */
typedef void (*ZvHostUnusedFn)(void);

enum {
  ZV_HOST_SLOT_APPEND_OUTPUT = 7,
  ZV_HOST_SLOT_GET_ATTRIBUTE = 10,
  ZV_HOST_SLOT_SET_ATTRIBUTE = 12,
  ZV_HOST_SLOT_COUNT = 13 /* slots 0..12; a host's table may be longer */
};

typedef struct ZvHostCallbacks {
  ZvHostUnusedFn unused0;
  ZvHostUnusedFn unused1;
  ZvHostUnusedFn unused2;
  ZvHostUnusedFn unused3;
  ZvHostUnusedFn unused4;
  ZvHostUnusedFn unused5;
  ZvHostUnusedFn unused6;
  ZvHostAppendOutputFn AppendOutput; /* slot 7 */
  ZvHostUnusedFn unused8;
  ZvHostUnusedFn unused9;
  ZvHostGetAttributeFn GetAttribute; /* slot 10 */
  ZvHostUnusedFn unused11;
  ZvHostSetAttributeFn SetAttribute; /* slot 12 */
} ZvHostCallbacks;

ZV_STATIC_ASSERT(sizeof(ZvHostCallbacks) == ZV_HOST_SLOT_COUNT * sizeof(void (*)(void)),
                      "the callback table is an array of function pointers");
ZV_STATIC_ASSERT(offsetof(ZvHostCallbacks, AppendOutput) ==
                          ZV_HOST_SLOT_APPEND_OUTPUT * sizeof(void (*)(void)),
                      "AppendOutput is slot 7");
ZV_STATIC_ASSERT(offsetof(ZvHostCallbacks, GetAttribute) ==
                          ZV_HOST_SLOT_GET_ATTRIBUTE * sizeof(void (*)(void)),
                      "GetAttribute is slot 10");
ZV_STATIC_ASSERT(offsetof(ZvHostCallbacks, SetAttribute) ==
                          ZV_HOST_SLOT_SET_ATTRIBUTE * sizeof(void (*)(void)),
                      "SetAttribute is slot 12");
#if UINTPTR_MAX == 0xFFFFFFFFFFFFFFFFu
ZV_STATIC_ASSERT(offsetof(ZvHostCallbacks, AppendOutput) == 56, "AppendOutput at byte 56");
ZV_STATIC_ASSERT(offsetof(ZvHostCallbacks, GetAttribute) == 80, "GetAttribute at byte 80");
ZV_STATIC_ASSERT(offsetof(ZvHostCallbacks, SetAttribute) == 96, "SetAttribute at byte 96");
#endif

/*
 * ZvTavelwork_Expand, ordinal 2: turns the component's attributes into the
 * APPLET markup of the published page and hands it to AppendOutput with the
 * output handle, once; appends nothing when any of the thirteen attributes it
 * reads is missing or memory runs out. The third and fourth handles are not
 * used. A NULL callback table, or NULL GetAttribute or AppendOutput slots,
 * make the call do nothing.
 */
typedef void (*ZvTavelworkExpandFn)(void *outputHandle, void *attributeHandle, void *thirdHandle,
                                    void *fourthHandle, const ZvHostCallbacks *callbacks);

/*
 * ZvTavelwork_Edit, ordinal 1: lets the author change the attributes.
 * Returns 1 when the attributes were written, 0 otherwise.
 */
typedef int32_t (*ZvTavelworkEditFn)(void *attributeHandle, const ZvHostCallbacks *callbacks);

#define ZV_TAVELWORK_EXPAND_SYMBOL "ZvTavelwork_Expand"
#define ZV_TAVELWORK_EDIT_SYMBOL "ZvTavelwork_Edit"
enum { ZV_ORD_TAVELWORK_EDIT = 1, ZV_ORD_TAVELWORK_EXPAND = 2 };

#ifdef __cplusplus
}
#endif

#endif /* ZV_WEBBOT_HOST_H */
