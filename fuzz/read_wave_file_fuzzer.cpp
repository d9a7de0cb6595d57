// ReadWaveFile (RIFF walk, the "fmt " record with its EXTENSIBLE extension,
// integer and float mixing, width conversion and streaming resampling) on
// arbitrary files; the corpus holds EXTENSIBLE, float and many-channel
// seeds. Every input must end in a result or a message; a success must
// describe 8 kHz mono 16-bit samples.
#include <cstdlib>
#include <vector>

#include "encoder/wave_file_reader.h"
#include "fuzz/fuzz_input_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static zv::fuzz::FuzzFile input("ZVFUZZWAV");
  input.write(data, size);
  zv::WaveFormat format;
  std::vector<std::uint8_t> samples;
  zv::GuardedText error;
  if (zv::ReadWaveFile(input.path(), format, samples, error)) {
    if (!zv::isCodecPcm(format)) std::abort();  // always what the codecs take
  } else if (error.get().empty() || !samples.empty()) {
    std::abort();  // a failure always leaves its own message and no samples
  }
  return 0;
}
