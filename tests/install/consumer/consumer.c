/* Every public header compiles as C99, and the speech codec links and runs. */
#include <stdio.h>
#include <string.h>

#include <zv/codec_api.h>
#include <zv/ordinal_table.h>
#include <zv/qv160mx.h>
#include <zv/qv80.h>
#include <zv/system_string.h>
#include <zv/webbot_host.h>
#include <zv/zv_encoder.h>

int main(void) {
  CodecInfoEx info;
  void *coder;
  memset(&info, 0, sizeof info);
  QV80_GetCodecInfoEx(&info, (uint32_t)sizeof info);
  if (info.pcmBytesPerFrame != 320) {
    fprintf(stderr, "unexpected PCM frame size %u\n", (unsigned)info.pcmBytesPerFrame);
    return 1;
  }
  coder = QV80_Open_Coder(1);
  if (!coder) return 1;
  QV80_Close_Coder(coder);
  return zv_ordinal_table.count == 8 ? 0 : 1;
}
