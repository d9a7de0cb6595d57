/*
 * The encoder wizard library, libZvEncoder.so: one entry, DoZvEncoder, that
 * runs the wizard and hands back the applet settings, the finished clip and
 * the applet markup.
 *
 * The entry is exported by name and as ordinal 1 of the library's ordinal
 * table (zv/ordinal_table.h). The library also exports the system-string
 * functions of zv/system_string.h, so that a caller can free what it
 * receives without linking anything else.
 *
 * Plain C99; also compiles as C++.
 */
#ifndef ZV_ZV_ENCODER_H
#define ZV_ZV_ENCODER_H

#include <stddef.h>
#include <stdint.h>

#include <zv/ordinal_table.h>
#include <zv/system_string.h>

#ifdef __cplusplus
extern "C" {
#endif

/* What the wizard hands back on Finish: the applet settings followed by the
 * clip file.
 *
 * The record keeps the field order of the wizard's 52-byte record of
 * thirteen 32-bit fields (six integers, then seven string pointers). On this
 * 64-bit platform the pointers are 8 bytes each, so the record is 80 bytes:
 * the integers at 0..20, the strings at 24, 32, ..., 72.
 *
 * Every string is a system string (zv/system_string.h) holding 8-bit text;
 * the caller owns all seven afterwards and frees each with SysFreeString.
 * The caller zeroes the record before the call. */
typedef struct WizardResult {
  int32_t buttonCount;  /* player buttons, 1..3 */
  int32_t autoplay;     /* 0/1: plays when the page loads */
  int32_t visible;      /* 0/1: the player is shown */
  int32_t playCount;    /* 1..32767 plays; -1 = continuously */
  int32_t height;       /* applet height in pixels (height comes first) */
  int32_t width;        /* applet width in pixels */
  SystemString className;        /* "Applet Class Name" */
  SystemString codebase;         /* "Applet Class Codebase", may be empty */
  SystemString tag;              /* "APPLET" or "OBJECT" */
  SystemString alignment;        /* "", "top", "middle", "bottom", "left", "right" */
  SystemString bodyText;         /* text between the opening and closing tag */
  SystemString otherAttributes;  /* "name=value" items joined by single spaces */
  SystemString clipFile;         /* full path of the finished .zvsa clip */
} WizardResult;

ZV_STATIC_ASSERT(sizeof(SystemString) == 8, "this layout is for 64-bit pointers");
ZV_STATIC_ASSERT(sizeof(WizardResult) == 80, "WizardResult is 80 bytes");
ZV_STATIC_ASSERT(offsetof(WizardResult, buttonCount) == 0, "buttonCount at 0");
ZV_STATIC_ASSERT(offsetof(WizardResult, autoplay) == 4, "autoplay at 4");
ZV_STATIC_ASSERT(offsetof(WizardResult, visible) == 8, "visible at 8");
ZV_STATIC_ASSERT(offsetof(WizardResult, playCount) == 12, "playCount at 12");
ZV_STATIC_ASSERT(offsetof(WizardResult, height) == 16, "height at 16");
ZV_STATIC_ASSERT(offsetof(WizardResult, width) == 20, "width at 20");
ZV_STATIC_ASSERT(offsetof(WizardResult, className) == 24, "className at 24");
ZV_STATIC_ASSERT(offsetof(WizardResult, codebase) == 32, "codebase at 32");
ZV_STATIC_ASSERT(offsetof(WizardResult, tag) == 40, "tag at 40");
ZV_STATIC_ASSERT(offsetof(WizardResult, alignment) == 48, "alignment at 48");
ZV_STATIC_ASSERT(offsetof(WizardResult, bodyText) == 56, "bodyText at 56");
ZV_STATIC_ASSERT(offsetof(WizardResult, otherAttributes) == 64, "otherAttributes at 64");
ZV_STATIC_ASSERT(offsetof(WizardResult, clipFile) == 72, "clipFile at 72");

/* DoZvEncoder's results. */
#define ZV_WIZARD_FINISHED 12325 /* the user pressed Finish */
#define ZV_WIZARD_CANCELLED 2    /* the user cancelled or closed the wizard */

/* The ordinal of DoZvEncoder in the library's ordinal table. */
#define ZV_DO_ZV_ENCODER_ORDINAL 1

/* Runs the wizard modally on the calling thread and returns
 * ZV_WIZARD_FINISHED or ZV_WIZARD_CANCELLED; callers take every other value
 * as a cancelled wizard.
 *
 * reserved: pass 0.
 * markup:   a slot that receives the applet markup (lines end in LF): a new
 *           system string when *markup is NULL, else *markup is reallocated.
 *           NULL: nothing is produced at all (no markup, no record, no file
 *           moved), even on Finish.
 * result:   a zeroed record that receives the settings and the clip file, or
 *           NULL: the markup is still produced and the strings are freed.
 * On Cancel the slot, the record and the files are left as they were.
 *
 * A caller without a Qt application object (a plain C program) may call
 * it: the library makes one for the call and ends it afterwards. */
ZV_EXPORT int32_t DoZvEncoder(uint32_t reserved, SystemString *markup, WizardResult *result);

typedef int32_t (*DoZvEncoderFn)(uint32_t reserved, SystemString *markup, WizardResult *result);

#ifdef __cplusplus
}
#endif

#endif /* ZV_ZV_ENCODER_H */
