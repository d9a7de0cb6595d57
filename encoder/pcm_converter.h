// PcmConverter: mono 16-bit samples at any rate brought, block by block, to
// what the codecs take, 8000 Hz, and handed to a PcmSink.
//
// The rate is changed with libsoxr's high-quality resampler, no dither, in
// streaming use: the samples it gives are exactly those of one call over the
// whole sound (libsoxr's output does not depend on how its input is cut), so
// memory stays at a few blocks whatever the length. At 8000 Hz the samples
// pass unchanged.
//
// The result must fit PcmWorkFile's 32-bit size: more than 0xFFFFFFFF bytes
// is refused with message 10416 before anything beyond that is written.
#ifndef ZV_ENCODER_PCM_CONVERTER_H
#define ZV_ENCODER_PCM_CONVERTER_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "encoder/engine_notice.h"
#include "encoder/pcm_sink.h"

struct soxr;

namespace zv {

// Source rates outside this range are refused (message 10415): below it the
// output would grow without bound, above it no sound card goes.
inline constexpr std::uint32_t kMinSourceRateHz = 1000;
inline constexpr std::uint32_t kMaxSourceRateHz = 1000000;

// The most bytes PcmWorkFile may hold: its length is a 32-bit field of the
// encode job and of the stream header's sample count.
inline constexpr std::uint64_t kMaxPcmWorkBytes = 0xFFFFFFFFu;

// True when `rateHz` is one the converter takes.
bool isConvertibleRate(std::uint32_t rateHz);

class PcmConverter {
 public:
  // `sourceRateHz` must satisfy isConvertibleRate(). `limitBytes` is the
  // most output accepted (kMaxPcmWorkBytes but in tests of the limit).
  PcmConverter(std::uint32_t sourceRateHz, PcmSink& sink,
               std::uint64_t limitBytes = kMaxPcmWorkBytes);
  ~PcmConverter();
  PcmConverter(const PcmConverter&) = delete;
  PcmConverter& operator=(const PcmConverter&) = delete;

  // Converts `count` more samples. False on failure (see failure()); the
  // converter is then unusable.
  bool push(const std::int16_t* mono, std::size_t count);
  // Drains the resampler at the end of the sound. False on failure.
  bool finish();

  // Why push() or finish() failed: the resampler (10413), the length
  // (10416) or the sink's own notice.
  const EngineNotice& failure() const { return failure_; }
  std::uint64_t bytesWritten() const { return written_bytes_; }

 private:
  bool emit(const std::int16_t* samples, std::size_t count);
  bool fail(EngineNotice notice);

  PcmSink& sink_;
  std::uint64_t limit_bytes_;
  soxr* resampler_ = nullptr;       // null at 8000 Hz
  std::vector<std::int16_t> out_;   // the resampler's output block
  std::vector<std::uint8_t> bytes_; // out_ as little-endian bytes
  std::uint64_t written_bytes_ = 0;
  EngineNotice failure_;
};

}  // namespace zv

#endif  // ZV_ENCODER_PCM_CONVERTER_H
