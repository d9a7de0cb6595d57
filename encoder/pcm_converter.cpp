#include "encoder/pcm_converter.h"

#include <soxr.h>

#include "encoder/engine_strings.h"
#include "encoder/wave_format.h"

namespace zv {

namespace {

// Samples of one resampler output block: 16 KiB.
constexpr std::size_t kOutputBlockSamples = 8192;

}  // namespace

bool isConvertibleRate(std::uint32_t rateHz) {
  return rateHz >= kMinSourceRateHz && rateHz <= kMaxSourceRateHz;
}

PcmConverter::PcmConverter(std::uint32_t sourceRateHz, PcmSink& sink, std::uint64_t limitBytes)
    : sink_(sink), limit_bytes_(limitBytes), out_(kOutputBlockSamples),
      bytes_(2 * kOutputBlockSamples) {
  if (sourceRateHz == kCodecSampleRateHz) return;
  soxr_io_spec_t io = soxr_io_spec(SOXR_INT16_I, SOXR_INT16_I);
  io.flags |= SOXR_NO_DITHER;
  const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
  const soxr_runtime_spec_t runtime = soxr_runtime_spec(1);
  soxr_error_t error = nullptr;
  resampler_ = soxr_create(sourceRateHz, kCodecSampleRateHz, 1, &error, &io, &quality, &runtime);
  if (error) {
    soxr_delete(resampler_);
    resampler_ = nullptr;
    fail({kIdsConversionFailed, {}, {}});
  }
}

PcmConverter::~PcmConverter() { soxr_delete(resampler_); }

bool PcmConverter::fail(EngineNotice notice) {
  failure_ = std::move(notice);
  return false;
}

bool PcmConverter::emit(const std::int16_t* samples, std::size_t count) {
  if (written_bytes_ + 2 * static_cast<std::uint64_t>(count) > limit_bytes_)
    return fail({kIdsSoundTooLong, {}, {}});
  while (count > 0) {
    const std::size_t block = count < kOutputBlockSamples ? count : kOutputBlockSamples;
    for (std::size_t i = 0; i < block; ++i) {
      const auto bits = static_cast<std::uint16_t>(samples[i]);
      bytes_[2 * i] = static_cast<std::uint8_t>(bits);
      bytes_[2 * i + 1] = static_cast<std::uint8_t>(bits >> 8);
    }
    if (!sink_.write(bytes_.data(), 2 * block)) return fail(sink_.failure());
    written_bytes_ += 2 * block;
    samples += block;
    count -= block;
  }
  return true;
}

bool PcmConverter::push(const std::int16_t* mono, std::size_t count) {
  if (failure_.id != 0) return false;
  if (count == 0) return true;  // a null input would ask the resampler to flush
  if (!resampler_) return emit(mono, count);
  std::size_t consumed = 0;
  std::size_t produced = 0;
  // Until the input is taken and the resampler has no more ready for now
  // (a full output block may mean more is waiting).
  do {
    std::size_t taken = 0;
    produced = 0;
    if (soxr_process(resampler_, mono + consumed, count - consumed, &taken, out_.data(),
                     out_.size(), &produced))
      return fail({kIdsConversionFailed, {}, {}});
    consumed += taken;
    if (!emit(out_.data(), produced)) return false;
  } while (consumed < count || produced == out_.size());
  return true;
}

bool PcmConverter::finish() {
  if (failure_.id != 0) return false;
  if (!resampler_) return true;
  std::size_t produced = 0;
  do {
    // No input: the resampler flushes what its filter still holds.
    if (soxr_process(resampler_, nullptr, 0, nullptr, out_.data(), out_.size(), &produced))
      return fail({kIdsConversionFailed, {}, {}});
    if (!emit(out_.data(), produced)) return false;
  } while (produced > 0);
  return true;
}

}  // namespace zv
