#include "encoder/sound_file_reader.h"

#include <fcntl.h>
#include <sndfile.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <vector>

#include "encoder/engine_strings.h"
#include "encoder/mono_mixdown.h"
#include "encoder/pcm_converter.h"

namespace zv {

namespace {

// Decoded samples (all channels) per block: 128 KiB of doubles.
constexpr std::size_t kBlockSamples = 16 * 1024;

struct DescriptorCloser {
  int descriptor;
  ~DescriptorCloser() { ::close(descriptor); }
};

struct SoundFileCloser {
  void operator()(SNDFILE* file) const { sf_close(file); }
};
using SoundFileHandle = std::unique_ptr<SNDFILE, SoundFileCloser>;

bool convertFrames(SNDFILE* file, const SF_INFO& info, PcmSink& sink, const std::string& path,
                   const FailureReport& report) {
  PcmConverter converter(static_cast<std::uint32_t>(info.samplerate), sink);
  if (converter.failure().id != 0) return report.fail(converter.failure());
  const auto channels = static_cast<std::size_t>(info.channels);
  const std::size_t blockFrames = channels >= kBlockSamples ? 1 : kBlockSamples / channels;
  std::vector<double> block(blockFrames * channels);
  std::vector<std::int16_t> mono(blockFrames);
  std::uint64_t frames = 0;
  // The stated count (an estimate for MP3, none at all for some streams).
  const std::uint64_t statedFrames =
      info.frames > 0 && info.frames != SF_COUNT_MAX ? static_cast<std::uint64_t>(info.frames) : 0;
  for (;;) {
    const sf_count_t got =
        sf_readf_double(file, block.data(), static_cast<sf_count_t>(blockFrames));
    if (got <= 0) break;
    mixDownNormalized(block.data(), static_cast<std::size_t>(got), info.channels, mono.data());
    if (!converter.push(mono.data(), static_cast<std::size_t>(got)))
      return report.fail(converter.failure());
    frames += static_cast<std::uint64_t>(got);
    if (statedFrames != 0) sink.sourceRead(frames, statedFrames);
  }
  // A decoder that stops before the end the file announces has lost the
  // rest of the sound (a truncated or damaged file), so none of it is used.
  // libsndfile does not always keep the decoder's error for sf_error(); the
  // count tells too, where the format states it exactly: an MP3's count
  // may be an estimate, an unknown one is SF_COUNT_MAX.
  const bool countIsExact = (info.format & SF_FORMAT_TYPEMASK) != SF_FORMAT_MPEG &&
                            info.frames != SF_COUNT_MAX;
  if (sf_error(file) != SF_ERR_NO_ERROR ||
      (countIsExact && frames < static_cast<std::uint64_t>(info.frames)))
    return report.fail(kIdsWavShortRead, path);
  if (frames == 0) return report.fail(kIdsSoundNoAudioData);
  if (!converter.finish()) return report.fail(converter.failure());
  return true;
}

}  // namespace

SoundFileRead readSoundFile(const std::string& path, WaveFormat& format, PcmSink& sink,
                            const FailureReport& report) {
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) {
    report.failFileOperation(kIdsInvalidFileName, path, errno);
    return SoundFileRead::Failed;
  }
  const DescriptorCloser closer{descriptor};
  // Opened through the descriptor, libsndfile has no file name whose
  // extension it could take as a hint: only the content decides.
  SF_INFO info{};
  const SoundFileHandle file(sf_open_fd(descriptor, SFM_READ, &info, SF_FALSE));
  if (!file) return SoundFileRead::NotRecognised;
  if (info.channels < 1) {  // libsndfile never opens such a file; no sound if it did
    report.fail(kIdsSoundNoAudioData);
    return SoundFileRead::Failed;
  }
  if (info.samplerate < 1 || !isConvertibleRate(static_cast<std::uint32_t>(info.samplerate))) {
    report.fail(kIdsSoundRateNotConvertible, std::to_string(info.samplerate));
    return SoundFileRead::Failed;
  }
  if (!convertFrames(file.get(), info, sink, path, report)) return SoundFileRead::Failed;
  format = codecPcmFormat();
  return SoundFileRead::Converted;
}

}  // namespace zv
