// The decode job on real files and a real worker thread, with the test-only
// copy codec (8-byte frames) and variable codec (self-delimiting frames of
// 31..39 bytes that decode to 256 bytes, like the music codec's).
#include <gtest/gtest.h>

#include <atomic>
#include <memory>

#include "encoder/stream_header.h"
#include "tests/encoder/job_harness.h"

namespace zv {
namespace {

using test::Bytes;
using test::JobHarness;
using test::JobRun;

Bytes counting(std::size_t n, std::uint8_t start = 1) {
  Bytes bytes(n);
  for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<std::uint8_t>(start + i);
  return bytes;
}

Bytes validHeader(std::uint32_t dataBytes) {
  const auto header = serializeStreamHeader(makeStreamHeader(0x10000, "X.DLL", 1, 0x30000, 0, 8000, dataBytes));
  return Bytes(header.begin(), header.end());
}

Bytes concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Encodes `pcm` with the library through the encode job, for a stream file
// with real variable-length frames.
Bytes encodeWith(JobHarness& harness, const char* library, const Bytes& pcm) {
  harness.setPcm(pcm);
  JobContext context;
  context.streamPath = harness.outputs().file("encoded.zvsa");
  EXPECT_EQ(harness.run(JobMode::Encode, context, harness.tableWith(library)).end, JobEnd::Completed);
  return test::readFile(context.streamPath);
}

JobRun decode(JobHarness& harness, const char* library, const Bytes& stream, TickSource ticks = {}) {
  JobContext context;
  context.pcmBytes = 11;
  context.codedBytes = 22;
  context.streamPath = harness.outputs().file("decode-me.zvsa");
  test::writeFile(context.streamPath, stream);
  const JobRun run = harness.run(JobMode::Decode, context, harness.tableWith(library), std::move(ticks));
  EXPECT_EQ(context.pcmBytes, 11u);   // the decode job leaves both counts alone
  EXPECT_EQ(context.codedBytes, 22u);
  return run;
}

TEST(DecodeJob, VariableLengthStreamDecodesTo256BytesPerFrameAndEndsCleanly) {
  JobHarness harness;
  // Byte j of frame f is 16 f + j % 7, so each frame's bytes tell its number.
  Bytes pcm(5 * 256 + 10);
  for (std::size_t i = 0; i < pcm.size(); ++i)
    pcm[i] = static_cast<std::uint8_t>(16 * (i / 256) + (i % 256) % 7);
  const Bytes stream = encodeWith(harness, ZV_FAKE_CODEC_VARIABLE, pcm);
  const JobRun run = decode(harness, ZV_FAKE_CODEC_VARIABLE, stream);
  EXPECT_EQ(run.end, JobEnd::Completed);
  EXPECT_TRUE(run.doneIsLast());
  const Bytes decoded = test::readFile(harness.workspace().DecodedPcmFile);
  ASSERT_EQ(decoded.size(), 6u * 256);
  // The test codec echoes PCM bytes 1..length-1 of each frame: frame two's
  // echo shows that the reader stepped back to the true start of frame two.
  for (std::size_t frame = 0; frame < 6; ++frame)
    EXPECT_EQ(decoded[frame * 256 + 1], 16 * frame + 1) << "frame " << frame;
}

TEST(DecodeJob, HeaderOnlyOrShorterStreamDecodesToNothing) {
  for (std::size_t length : {kStreamHeaderSize, std::size_t{100}, std::size_t{0}}) {
    JobHarness harness;
    test::writeFile(harness.workspace().DecodedPcmFile, Bytes(50, 1));  // an earlier decode
    Bytes stream = validHeader(0);
    stream.resize(length);
    const JobRun run = decode(harness, ZV_FAKE_CODEC_COPY, stream);
    EXPECT_EQ(run.end, JobEnd::Completed) << length;
    EXPECT_TRUE(run.doneIsLast());
    EXPECT_TRUE(test::readFile(harness.workspace().DecodedPcmFile).empty()) << length;
  }
}

TEST(DecodeJob, WrongHeaderFieldsStillDecode) {
  JobHarness harness;
  Bytes garbage(kStreamHeaderSize);
  for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<std::uint8_t>(i * 37 + 11);
  const Bytes frames = counting(24, 100);
  const JobRun run = decode(harness, ZV_FAKE_CODEC_COPY, concat(garbage, frames));
  EXPECT_EQ(run.end, JobEnd::Completed);
  EXPECT_EQ(test::readFile(harness.workspace().DecodedPcmFile), frames);
}

// The last frame lacks bytes: the decoder is told how many were read, refuses
// the frame, and the job ends cleanly with what came before.
TEST(DecodeJob, FinalFrameCutShortIsRefusedAndTheJobEndsCleanly) {
  struct Case {
    const char* name;
    const char* library;
    std::size_t frameBytes;  // PCM bytes per frame
  } cases[] = {{"copy", ZV_FAKE_CODEC_COPY, 8}, {"variable", ZV_FAKE_CODEC_VARIABLE, 256}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    JobHarness harness;
    Bytes stream = encodeWith(harness, c.library, counting(3 * c.frameBytes));
    stream.resize(stream.size() - 5);
    const JobRun run = decode(harness, c.library, stream);
    EXPECT_EQ(run.end, JobEnd::CodecFailed);
    EXPECT_TRUE(run.doneIsLast());
    EXPECT_EQ(test::readFile(harness.workspace().DecodedPcmFile).size(), 2 * c.frameBytes);
  }
}

// Every frame is due a message (200 ms per tick reading); the decoder reads
// 39 bytes ahead but the percentage counts consumed bytes, so it stays
// within 100 and reaches (L - 154) * 100 / L at the last frame.
TEST(DecodeJob, ProgressNeverExceedsOneHundredDespiteReadingAhead) {
  JobHarness harness;
  const Bytes stream = encodeWith(harness, ZV_FAKE_CODEC_VARIABLE, counting(20 * 256));
  const JobRun run = decode(harness, ZV_FAKE_CODEC_VARIABLE, stream, test::steppingTicks(200));
  ASSERT_EQ(run.end, JobEnd::Completed);
  ASSERT_EQ(run.countOf(WM_JOB_PROGRESS), 20);
  std::uintptr_t last = 0;
  for (const auto& message : run.messages)
    if (message.message == WM_JOB_PROGRESS) {
      EXPECT_LE(message.wParam, 100u);
      EXPECT_GE(message.wParam, last);
      last = message.wParam;
    }
  EXPECT_EQ(last, (stream.size() - kStreamHeaderSize) * 100 / stream.size());
}

TEST(DecodeJob, CancelLeavesAPartialDecodedFile) {
  JobHarness harness;
  const Bytes frames = counting(10 * 8);
  JobContext context;
  context.streamPath = harness.outputs().file("clip.zvsa");
  test::writeFile(context.streamPath, concat(validHeader(80), frames));
  auto calls = std::make_shared<std::atomic<int>>(0);
  JobContext* target = &context;
  TickSource ticks = [calls, target] {
    if (++*calls == 4) target->CancelEvent.set();  // start, then frames 1..3
    return std::uint64_t{0};
  };
  const JobRun run = harness.run(JobMode::Decode, context, harness.tableWith(ZV_FAKE_CODEC_COPY), ticks);
  EXPECT_EQ(run.end, JobEnd::Cancelled);
  EXPECT_TRUE(run.doneIsLast());
  EXPECT_EQ(test::readFile(harness.workspace().DecodedPcmFile), Bytes(frames.begin(), frames.begin() + 24));
}

TEST(DecodeJob, MissingStreamFileEndsWithTheEndMessage) {
  JobHarness harness;
  JobContext context;
  context.streamPath = harness.outputs().file("absent.zvsa");
  const JobRun run = harness.run(JobMode::Decode, context, harness.tableWith(ZV_FAKE_CODEC_COPY));
  EXPECT_EQ(run.end, JobEnd::InputNotOpened);
  EXPECT_TRUE(run.doneIsLast());
}

}  // namespace
}  // namespace zv
