/* Linked against the wizard library by pkg-config's flags alone: the
   system-string functions it exports work, and DoZvEncoder resolves. */
#include <stdio.h>
#include <string.h>

#include <zv/system_string.h>
#include <zv/zv_encoder.h>

int main(void) {
  /* Taken through a volatile, so that the link needs the symbol. */
  DoZvEncoderFn volatile entry = &DoZvEncoder;
  SystemString text = SysAllocString("clip");
  const int ok = text != NULL && SysStringByteLen(text) == 4 && memcmp(text, "clip", 4) == 0;
  SysFreeString(text);
  if (!ok) {
    fprintf(stderr, "SysAllocString gave another string\n");
    return 1;
  }
  return entry != NULL ? 0 : 1;
}
