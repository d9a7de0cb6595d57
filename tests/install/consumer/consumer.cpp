// Every public header compiles as C++, and the music codec links and runs.
#include <zv/codec_api.h>
#include <zv/ordinal_table.h>
#include <zv/qv160mx.h>
#include <zv/system_string.h>
#include <zv/webbot_host.h>
#include <zv/zv_encoder.h>

#include <cstdio>

int main() {
  CodecInfo info{};
  if (QV160MX_GetCodecInfo(&info) != &info) return 1;
  void* decoder = QV160MX_Open_Decoder(1);
  if (!decoder) return 1;
  QV160MX_Close_Decoder(decoder);
  std::printf("%.40s\n", info.name);
  return 0;
}
