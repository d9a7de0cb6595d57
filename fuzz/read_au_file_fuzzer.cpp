// ReadAuFile on arbitrary files, then ReadWaveFile on the WAV it wrote, as
// input preparation chains them. Every failure must leave a message.
#include <cstdlib>
#include <vector>

#include "encoder/au_file_reader.h"
#include "encoder/wave_file_reader.h"
#include "fuzz/fuzz_input_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static zv::fuzz::FuzzFile input("ZVFUZZAU");
  static zv::fuzz::FuzzFile wav("ZVFUZZAUWAV");
  input.write(data, size);
  zv::GuardedText error;
  if (!zv::ReadAuFile(input.path(), wav.path(), error)) {
    if (error.get().empty()) std::abort();
    return 0;
  }
  zv::WaveFormat format;
  std::vector<std::uint8_t> samples;
  error.clear();
  if (!zv::ReadWaveFile(wav.path(), format, samples, error) && error.get().empty()) std::abort();
  return 0;
}
