#include "tests/support/sound_file_writer.h"

#include <sndfile.h>

namespace zv::test {

bool writeSoundFile(const std::string& path, int format, int rateHz, int channels,
                    const std::vector<double>& samples) {
  SF_INFO info{};
  info.samplerate = rateHz;
  info.channels = channels;
  info.format = format;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!file) return false;
  const auto frames = static_cast<sf_count_t>(samples.size() / static_cast<std::size_t>(channels));
  const bool written = sf_writef_double(file, samples.data(), frames) == frames;
  return sf_close(file) == 0 && written;
}

}  // namespace zv::test
