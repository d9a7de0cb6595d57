// PcmConverter in streaming use: the same samples as libsoxr's one call over
// the whole buffer (what the conversion did before it streamed), however
// the input is cut; the PcmWorkFile length limit; a sink that fails.
#include <gtest/gtest.h>

#include <soxr.h>

#include <cstdio>
#include <random>
#include <vector>

#include "encoder/engine_strings.h"
#include "encoder/pcm_converter.h"
#include "encoder/wave_format.h"

namespace zv {
namespace {

std::vector<std::int16_t> oneShot(std::uint32_t rate, const std::vector<std::int16_t>& input) {
  std::vector<std::int16_t> output(
      (static_cast<std::uint64_t>(input.size()) * kCodecSampleRateHz + rate - 1) / rate + 2);
  soxr_io_spec_t io = soxr_io_spec(SOXR_INT16_I, SOXR_INT16_I);
  io.flags |= SOXR_NO_DITHER;
  const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
  const soxr_runtime_spec_t runtime = soxr_runtime_spec(1);
  std::size_t produced = 0;
  EXPECT_EQ(soxr_oneshot(rate, kCodecSampleRateHz, 1, input.data(), input.size(), nullptr,
                         output.data(), output.size(), &produced, &io, &quality, &runtime),
            nullptr);
  output.resize(produced);
  return output;
}

std::vector<std::int16_t> streamed(std::uint32_t rate, const std::vector<std::int16_t>& input,
                                   std::size_t cut) {
  std::vector<std::uint8_t> bytes;
  VectorPcmSink sink(bytes);
  PcmConverter converter(rate, sink);
  for (std::size_t at = 0; at < input.size(); at += cut)
    EXPECT_TRUE(converter.push(input.data() + at, std::min(cut, input.size() - at)));
  EXPECT_TRUE(converter.finish());
  EXPECT_EQ(converter.bytesWritten(), bytes.size());
  std::vector<std::int16_t> out(bytes.size() / 2);
  for (std::size_t i = 0; i < out.size(); ++i)
    out[i] = static_cast<std::int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  return out;
}

// Noise at full scale (clipping included), a length that is no multiple of
// any cut, cuts from one sample to more than the whole input.
TEST(PcmConverter, StreamingGivesTheOneCallSamplesHoweverTheInputIsCut) {
  std::mt19937 random(14);
  std::uniform_int_distribution<int> sample(-32768, 32767);
  for (std::uint32_t rate : {1000u, 7999u, 8000u, 11025u, 22050u, 44100u, 48000u, 96000u}) {
    std::vector<std::int16_t> input(30011);
    for (auto& value : input) value = static_cast<std::int16_t>(sample(random));
    const std::vector<std::int16_t> whole =
        rate == kCodecSampleRateHz ? input : oneShot(rate, input);
    for (std::size_t cut : {std::size_t{1}, std::size_t{777}, std::size_t{4096}, std::size_t{65536}})
      EXPECT_EQ(streamed(rate, input, cut), whole) << rate << " Hz in blocks of " << cut;
  }
}

// Output beyond the limit is refused with its message before the sink
// gets any of it.
TEST(PcmConverter, OutputBeyondTheLimitIsRefused) {
  for (std::uint32_t rate : {8000u, 16000u}) {
    std::vector<std::uint8_t> bytes;
    VectorPcmSink sink(bytes);
    PcmConverter converter(rate, sink, 1000);
    const std::vector<std::int16_t> input(rate / 8, 100);  // 1000 samples out
    bool ok = converter.push(input.data(), input.size());
    if (ok) ok = converter.finish();
    EXPECT_FALSE(ok) << rate;
    EXPECT_EQ(converter.failure().id, kIdsSoundTooLong) << rate;
    EXPECT_LE(bytes.size(), 1000u) << rate;
  }
  std::vector<std::uint8_t> bytes;
  VectorPcmSink sink(bytes);
  PcmConverter converter(8000, sink, 1000);
  const std::vector<std::int16_t> input(500, 100);  // exactly the limit
  EXPECT_TRUE(converter.push(input.data(), input.size()));
  EXPECT_TRUE(converter.finish());
  EXPECT_EQ(bytes.size(), 1000u);
}

// A full disk under PcmWorkFile: the sink's notice names the source and
// carries the system's reason, which the command line shows and the
// wizard's wording leaves out.
TEST(PcmConverter, AFailedWriteIsReportedWithTheSystemsReason) {
  std::FILE* full = std::fopen("/dev/full", "wb");
  ASSERT_NE(full, nullptr);
  std::setvbuf(full, nullptr, _IONBF, 0);  // every write reaches the device
  StreamPcmSink sink(full, "song.flac");
  PcmConverter converter(8000, sink);
  const std::vector<std::int16_t> input(100, 1);
  EXPECT_FALSE(converter.push(input.data(), input.size()));
  std::fclose(full);
  const EngineNotice& failure = converter.failure();
  EXPECT_EQ(failure.id, kNoticePcmWorkFileNotWritten);
  EXPECT_EQ(failure.value, "song.flac");
  EXPECT_EQ(failure.reason, "No space left on device");
  EXPECT_EQ(systemWording(failure), engineMessage(kIdsFileDoesNotExist, "song.flac"));
}

}  // namespace
}  // namespace zv
