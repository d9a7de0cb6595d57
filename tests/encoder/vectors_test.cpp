// The delivered codec libraries through the engine: the conformance stream
// files are what the engine writes for the conformance PCM, and decode back
// to the conformance decoder output. The libraries are loaded by their table
// names from the private library folder (lib/zvtavelworks beside the test
// program's bin/).
#include <gtest/gtest.h>

#include <algorithm>

#include "encoder/input_preparation.h"
#include "encoder/stream_header.h"
#include "encoder/stream_census.h"
#include "tests/encoder/job_harness.h"

namespace zv {
namespace {

using test::Bytes;
using test::JobHarness;
using test::JobRun;

std::string vector(const std::string& name) { return std::string(ZV_TESTVECTORS_DIR) + "/" + name; }

struct Codec {
  const char* name;
  int index;
  const char* frames;  // suffix of the frame vectors
};
const Codec kCodecs[] = {{"speech", kSpeechCodecIndex, "qv80"},
                         {"music", kMusicCodecIndex, "qv160"},
                         {"lowspeech", kLowerCodecIndex, "qv48"}};

// vowels.raw in an 8 kHz mono 16-bit WAV, through input preparation and the
// encode job, is the conformance stream file byte for byte.
TEST(ConformanceVectors, EncodingVowelsGivesTheConformanceStreamFiles) {
  for (const Codec& codec : kCodecs) {
    SCOPED_TRACE(codec.name);
    JobHarness harness;
    const std::string wav = harness.outputs().file("vowels.wav");
    test::writeFile(wav, test::pcmWave({}, test::readFile(vector("vowels.raw"))));
    ASSERT_TRUE(prepareSourceFile(harness.workspace(), wav, harness.presenter()));
    JobContext context;
    context.codecIndex = codec.index;
    context.streamPath = harness.outputs().file("vowels.zvsa");
    const JobRun run = harness.run(JobMode::Encode, context, kCodecTable);
    ASSERT_EQ(run.end, JobEnd::Completed);
    EXPECT_TRUE(run.doneIsLast());
    const Bytes expected = test::readFile(vector(std::string("vowels-") + codec.name + ".zvsa"));
    EXPECT_TRUE(test::readFile(context.streamPath) == expected);
    EXPECT_EQ(context.pcmBytes, 48000u);
    EXPECT_EQ(context.codedBytes, expected.size() - kStreamHeaderSize);
  }
}

// vowels-short.raw (5000 samples) is not a whole number of frames of any
// codec: the final frame is completed with silence, as the frame vectors
// were made.
TEST(ConformanceVectors, ShortFinalFrameIsCodedAsTheVectorsWere) {
  for (const Codec& codec : kCodecs) {
    SCOPED_TRACE(codec.name);
    JobHarness harness;
    harness.setPcm(test::readFile(vector("vowels-short.raw")));
    JobContext context;
    context.codecIndex = codec.index;
    context.streamPath = harness.outputs().file("short.zvsa");
    ASSERT_EQ(harness.run(JobMode::Encode, context, kCodecTable).end, JobEnd::Completed);
    const Bytes file = test::readFile(context.streamPath);
    const Bytes frames = test::readFile(vector(std::string("vowels-short.") + codec.frames));
    ASSERT_EQ(file.size(), kStreamHeaderSize + frames.size());
    EXPECT_TRUE(std::equal(frames.begin(), frames.end(), file.begin() + kStreamHeaderSize));
  }
}

TEST(ConformanceVectors, DecodingTheStreamFilesGivesTheDecoderVectors) {
  for (const Codec& codec : kCodecs) {
    SCOPED_TRACE(codec.name);
    JobHarness harness;
    JobContext context;
    context.codecIndex = codec.index;
    context.streamPath = vector(std::string("vowels-") + codec.name + ".zvsa");
    const JobRun run = harness.run(JobMode::Decode, context, kCodecTable);
    ASSERT_EQ(run.end, JobEnd::Completed);
    EXPECT_TRUE(run.doneIsLast());
    EXPECT_TRUE(test::readFile(harness.workspace().DecodedPcmFile) ==
                test::readFile(vector(std::string("vowels.") + codec.frames + ".dec.raw")));
  }
}

TEST(ConformanceVectors, StreamInspectionFindsTheCodecAndCountsFrames) {
  const struct {
    const char* file;
    int index;
    std::uint64_t frames;
  } cases[] = {{"vowels-speech.zvsa", kSpeechCodecIndex, 150},
               {"vowels-music.zvsa", kMusicCodecIndex, 188},
               {"vowels-lowspeech.zvsa", kLowerCodecIndex, 100}};
  for (const auto& c : cases) {
    const auto header = readStreamHeader(vector(c.file));
    ASSERT_TRUE(header.has_value());
    EXPECT_EQ(findCodecIndexForTag(header->codecTag), c.index) << c.file;
    const StreamFrameCensus census = countStreamFrames(vector(c.file), c.index);
    EXPECT_EQ(census.status, StreamFrameCensus::Status::Clean) << c.file;
    EXPECT_EQ(census.frames, c.frames) << c.file;
    EXPECT_EQ(census.frameBytes, header->dataBytes) << c.file;
  }
}

}  // namespace
}  // namespace zv
