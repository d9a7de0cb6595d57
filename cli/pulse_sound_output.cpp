// The default speaker through PulseAudio's simple API: one blocking playback
// stream, which is all a player that writes samples in order needs, and
// which PipeWire's PulseAudio server answers as well. zvsa stays free of an
// event loop and of any GUI library this way.
#include <pulse/error.h>
#include <pulse/simple.h>

#include "cli/sound_output.h"
#include "encoder/wave_format.h"

namespace zv::cli {

namespace {

// The server buffers this much ahead of what is heard. Short enough that
// Ctrl-C stops the sound at once and the elapsed time is close to what is
// heard; long enough that a busy machine does not let the speaker run dry.
constexpr std::uint32_t kBufferMs = 200;

std::string pulseError(int code) { return pa_strerror(code); }

class PulseSoundOutput : public SoundOutput {
 public:
  explicit PulseSoundOutput(pa_simple* stream) : stream_(stream) {}
  ~PulseSoundOutput() override {
    // Frees the stream without draining it: what is still queued is dropped,
    // which is what a stop asks for; a clip that played to its end has been
    // drained by then.
    pa_simple_free(stream_);
  }
  PulseSoundOutput(const PulseSoundOutput&) = delete;
  PulseSoundOutput& operator=(const PulseSoundOutput&) = delete;

  std::string write(std::span<const std::uint8_t> pcm) override {
    int error = 0;
    if (pa_simple_write(stream_, pcm.data(), pcm.size(), &error) < 0) return pulseError(error);
    return {};
  }

  std::uint64_t queuedMicroseconds() override {
    int error = 0;
    const pa_usec_t latency = pa_simple_get_latency(stream_, &error);
    return latency == static_cast<pa_usec_t>(-1) ? 0 : latency;
  }

  std::string drain() override {
    int error = 0;
    if (pa_simple_drain(stream_, &error) < 0) return pulseError(error);
    return {};
  }

 private:
  pa_simple* stream_;
};

}  // namespace

std::unique_ptr<SoundOutput> openDefaultSoundOutput(const std::string& streamName, std::string& error) {
  const WaveFormat format = codecPcmFormat();
  pa_sample_spec sampleFormat{};
  sampleFormat.format = PA_SAMPLE_S16LE;
  sampleFormat.rate = format.samplesPerSec;
  sampleFormat.channels = static_cast<std::uint8_t>(format.channels);
  pa_buffer_attr buffer{};
  buffer.maxlength = static_cast<std::uint32_t>(-1);
  buffer.tlength = format.avgBytesPerSec * kBufferMs / 1000;
  buffer.prebuf = static_cast<std::uint32_t>(-1);
  buffer.minreq = static_cast<std::uint32_t>(-1);
  buffer.fragsize = static_cast<std::uint32_t>(-1);
  int code = 0;
  pa_simple* stream = pa_simple_new(nullptr, "zvsa", PA_STREAM_PLAYBACK, nullptr, streamName.c_str(),
                                    &sampleFormat, nullptr, &buffer, &code);
  if (!stream) {
    error = pulseError(code);
    return nullptr;
  }
  return std::make_unique<PulseSoundOutput>(stream);
}

}  // namespace zv::cli
