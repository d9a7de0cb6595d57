// The encode job on real files and a real worker thread, with test-only
// codec libraries: the copy codec (a coded frame is the 8-byte PCM frame
// itself) makes the stream's frames directly comparable with the input.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>

#include "encoder/encoder_version.h"
#include "encoder/stream_header.h"
#include "tests/encoder/job_harness.h"

namespace zv {
namespace {

using test::Bytes;
using test::JobHarness;
using test::JobRun;

constexpr std::uint16_t kFakeTag = 0x7E57;

StreamHeader headerOf(const Bytes& file) {
  return parseStreamHeader(std::span<const std::uint8_t, kStreamHeaderSize>(file.data(), kStreamHeaderSize));
}

Bytes counting(std::size_t n) {
  Bytes bytes(n);
  for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<std::uint8_t>(i + 1);
  return bytes;
}

TEST(EncodeJob, EmptyInputGivesA154ByteStreamFileAndNoProgress) {
  JobHarness harness;
  harness.setPcm({});
  JobContext context;
  context.codedBytes = 999;
  context.streamPath = harness.outputs().file("empty.zvsa");
  const JobRun run = harness.run(JobMode::Encode, context, harness.tableWith(ZV_FAKE_CODEC_COPY),
                                 test::steppingTicks(1000));
  EXPECT_EQ(run.end, JobEnd::Completed);
  ASSERT_EQ(run.messages.size(), 1u);
  EXPECT_EQ(run.messages[0].message, WM_JOB_DONE);
  EXPECT_EQ(run.messages[0].wParam, 0u);
  EXPECT_EQ(context.pcmBytes, 0u);
  EXPECT_EQ(context.codedBytes, 0u);

  const Bytes file = test::readFile(context.streamPath);
  ASSERT_EQ(file.size(), kStreamHeaderSize);
  const StreamHeader header = headerOf(file);
  EXPECT_EQ(header.sampleCount, 0u);
  EXPECT_EQ(header.dataBytes, 0u);
  EXPECT_EQ(header.codecTag, kFakeTag);
  EXPECT_EQ(header.encoderVersion, encoderVersionWord());
  EXPECT_EQ(header.codecVersion, 0x00020005u);
  EXPECT_EQ(header.sampleRate, 8000u);
  EXPECT_EQ(header.checkWord, computeCheckWord(0, 0, kFakeTag));
  // The library's name as the table gives it (here a path), the codec's 2.5.
  EXPECT_EQ(header.banner, formatStreamBanner(0x00010000, ZV_FAKE_CODEC_COPY, 0x00020005));
  EXPECT_TRUE(harness.strayTemporaryFiles().empty());
}

// 20 bytes with 8-byte frames: three frames, the last one holding 4 new bytes
// and 4 bytes of silence (not the 4 bytes the buffer held from frame two).
TEST(EncodeJob, PartialLastFrameIsOneMoreFrameCompletedWithSilence) {
  JobHarness harness;
  const Bytes pcm = counting(20);
  harness.setPcm(pcm);
  JobContext context;
  context.streamPath = harness.outputs().file("clip.zvsa");
  const JobRun run = harness.run(JobMode::Encode, context, harness.tableWith(ZV_FAKE_CODEC_COPY));
  ASSERT_EQ(run.end, JobEnd::Completed);
  EXPECT_TRUE(run.doneIsLast());

  const Bytes file = test::readFile(context.streamPath);
  Bytes expectedFrames = pcm;
  expectedFrames.resize(24, 0);
  ASSERT_EQ(file.size(), kStreamHeaderSize + 24);
  EXPECT_TRUE(std::equal(expectedFrames.begin(), expectedFrames.end(), file.begin() + kStreamHeaderSize));
  const StreamHeader header = headerOf(file);
  EXPECT_EQ(header.dataBytes, 24u);
  EXPECT_EQ(header.sampleCount, 10u);  // 8000 * 20 / 16000
  EXPECT_EQ(context.pcmBytes, 20u);
  EXPECT_EQ(context.codedBytes, 24u);
}

TEST(EncodeJob, SampleCountFollowsThePcmFormatRecord) {
  JobHarness harness;
  harness.setPcm(counting(100));
  harness.workspace().PcmFormat.samplesPerSec = 11025;
  harness.workspace().PcmFormat.avgBytesPerSec = 22050;
  JobContext context;
  context.streamPath = harness.outputs().file("clip.zvsa");
  ASSERT_EQ(harness.run(JobMode::Encode, context, harness.tableWith(ZV_FAKE_CODEC_COPY)).end,
            JobEnd::Completed);
  const StreamHeader header = headerOf(test::readFile(context.streamPath));
  EXPECT_EQ(header.sampleRate, 11025u);
  EXPECT_EQ(header.sampleCount, 50u);  // 11025 * 100 / 22050
}

// Variable-length frames, like the music codec's: 3 * 256 + 1 bytes give four
// frames whose lengths add up to dataBytes, and the file ends right there.
TEST(EncodeJob, VariableLengthFramesAreWrittenBackToBack) {
  JobHarness harness;
  harness.setPcm(counting(3 * 256 + 1));
  JobContext context;
  context.streamPath = harness.outputs().file("clip.zvsa");
  ASSERT_EQ(harness.run(JobMode::Encode, context, harness.tableWith(ZV_FAKE_CODEC_VARIABLE)).end,
            JobEnd::Completed);
  const Bytes file = test::readFile(context.streamPath);
  const StreamHeader header = headerOf(file);
  EXPECT_EQ(file.size(), kStreamHeaderSize + header.dataBytes);
  std::size_t at = kStreamHeaderSize;
  int frames = 0;
  while (at < file.size()) {
    ASSERT_GE(file[at], 31);
    ASSERT_LE(file[at], 39);
    at += file[at];
    ++frames;
  }
  EXPECT_EQ(at, file.size());
  EXPECT_EQ(frames, 4);
}

// -1 is not one of the failure results: the job goes on and writes the coded
// count the codec returned with it (3 bytes per frame here).
TEST(EncodeJob, ResultMinusOneIsNotAnError) {
  JobHarness harness;
  harness.setPcm(counting(40));
  JobContext context;
  context.streamPath = harness.outputs().file("clip.zvsa");
  const JobRun run = harness.run(JobMode::Encode, context, harness.tableWith(ZV_FAKE_CODEC_MINUS_ONE));
  EXPECT_EQ(run.end, JobEnd::Completed);
  const Bytes file = test::readFile(context.streamPath);
  EXPECT_EQ(headerOf(file).dataBytes, 15u);
  EXPECT_EQ(file.size(), kStreamHeaderSize + 15);
  EXPECT_EQ(context.codedBytes, 15u);
}

// A codec failure and a cancel both end the job without a stream file: the
// file that was at the stream path keeps its content, the frame file is
// gone, codedBytes keeps the value of the last successful job, and the end
// message is still the last thing posted.
TEST(EncodeJob, FailureOrCancelLeavesNoStreamNoFrameFileAndThePreviousCodedBytes) {
  struct Case {
    const char* name;
    const char* library;
    int cancelAtTick;  // 0: never; ticks are read once at start, then per frame
    JobEnd end;
  } cases[] = {
      {"codec fails on frame 3", ZV_FAKE_CODEC_FAIL_THIRD, 0, JobEnd::CodecFailed},
      {"cancel after frame 1", ZV_FAKE_CODEC_COPY, 2, JobEnd::Cancelled},
      {"cancel after the last frame", ZV_FAKE_CODEC_COPY, 6, JobEnd::Cancelled},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    JobHarness harness;
    harness.setPcm(counting(40));  // five frames
    JobContext context;
    context.codedBytes = 1234;
    context.streamPath = harness.outputs().file("previous.zvsa");
    const Bytes previous = {'o', 'l', 'd'};
    test::writeFile(context.streamPath, previous);

    auto calls = std::make_shared<std::atomic<int>>(0);
    JobContext* target = &context;
    TickSource ticks = [calls, target, c] {
      if (++*calls == c.cancelAtTick) target->CancelEvent.set();
      return std::uint64_t{0};
    };
    const JobRun run = harness.run(JobMode::Encode, context, harness.tableWith(c.library), ticks);

    EXPECT_EQ(run.end, c.end);
    EXPECT_TRUE(run.doneIsLast());
    EXPECT_EQ(test::readFile(context.streamPath), previous);
    EXPECT_EQ(harness.outputs().entries(), std::vector<std::string>{"previous.zvsa"});
    EXPECT_TRUE(harness.strayTemporaryFiles().empty());
    EXPECT_EQ(context.codedBytes, 1234u);
    EXPECT_EQ(context.pcmBytes, 40u);
  }
}

TEST(EncodeJob, CompletedStreamReplacesAnEarlierFileAtTheStreamPath) {
  JobHarness harness;
  harness.setPcm(counting(16));
  JobContext context;
  context.streamPath = harness.outputs().file("clip.zvsa");
  test::writeFile(context.streamPath, Bytes(5000, 9));
  ASSERT_EQ(harness.run(JobMode::Encode, context, harness.tableWith(ZV_FAKE_CODEC_COPY)).end,
            JobEnd::Completed);
  EXPECT_EQ(test::readFile(context.streamPath).size(), kStreamHeaderSize + 16);
  EXPECT_EQ(harness.outputs().entries(), std::vector<std::string>{"clip.zvsa"});
}

TEST(EncodeJob, StreamPathInAMissingFolderEndsNormallyWithoutAFile) {
  JobHarness harness;
  harness.setPcm(counting(16));
  JobContext context;
  context.streamPath = harness.outputs().file("no/such/folder/clip.zvsa");
  const JobRun run = harness.run(JobMode::Encode, context, harness.tableWith(ZV_FAKE_CODEC_COPY));
  EXPECT_EQ(run.end, JobEnd::StreamNotWritten);
  EXPECT_TRUE(run.doneIsLast());
  EXPECT_EQ(context.codedBytes, 16u);  // stored before the stream file is made
  EXPECT_TRUE(harness.strayTemporaryFiles().empty());
}

// Time is driven by hand: 50 ms pass per tick reading, so a message is due
// every third frame. Percentages stay within 0..100 and never go back.
TEST(EncodeJob, ProgressIsThrottledAndNeverExceedsOneHundred) {
  JobHarness harness;
  harness.setPcm(counting(8 * 40));
  JobContext context;
  context.streamPath = harness.outputs().file("clip.zvsa");
  const JobRun run = harness.run(JobMode::Encode, context, harness.tableWith(ZV_FAKE_CODEC_COPY),
                                 test::steppingTicks(50));
  ASSERT_EQ(run.end, JobEnd::Completed);
  EXPECT_TRUE(run.doneIsLast());
  EXPECT_EQ(run.countOf(WM_JOB_PROGRESS), 13);  // 40 frames, one message per 3
  std::uintptr_t last = 0;
  for (const auto& message : run.messages) {
    if (message.message != WM_JOB_PROGRESS) continue;
    EXPECT_LE(message.wParam, 100u);
    EXPECT_GE(message.wParam, last);
    last = message.wParam;
  }
  EXPECT_EQ(last, 97u);  // after frame 39 of 40: 312 * 100 / 320
}

// 40 frames at 0 or 3 ms each: the whole job takes at most 123 ms.
TEST(EncodeJob, JobShorterThanTheProgressIntervalPostsNoProgress) {
  for (std::uint64_t step : {std::uint64_t{0}, std::uint64_t{3}}) {
    JobHarness harness;
    harness.setPcm(counting(8 * 40));
    JobContext context;
    context.streamPath = harness.outputs().file("clip.zvsa");
    const JobRun run = harness.run(JobMode::Encode, context, harness.tableWith(ZV_FAKE_CODEC_COPY),
                                   test::steppingTicks(step));
    EXPECT_EQ(run.end, JobEnd::Completed);
    EXPECT_EQ(run.countOf(WM_JOB_PROGRESS), 0) << "step " << step;
  }
}

}  // namespace
}  // namespace zv
