// The codec table, binding by ordinal, and the failure rules of loading and
// binding, shown with test-only codec libraries on real worker threads.
#include <gtest/gtest.h>

#include <unistd.h>

#include <string>

#include "encoder/codec_library.h"
#include "encoder/codec_table.h"
#include "encoder/engine_strings.h"
#include "tests/encoder/job_harness.h"

namespace zv {
namespace {

using test::JobHarness;
using test::JobRun;

TEST(CodecTable, ThreeRowsInOrderThenTheTerminator) {
  ASSERT_EQ(codecTableRowCount(kCodecTable), 3u);
  const struct {
    const char* file;
    unsigned name;
    unsigned description;
    const char* prefix;
    const char* nameText;
  } rows[] = {
      {"QV48W.DLL", 20000, 20050, "QV48_", "Lower quality sound"},
      {"QV80W.DLL", 20001, 20051, "QV80_", "Medium quality sound"},
      {"QV160MXW.DLL", 20002, 20052, "QV160MX_", "Highest quality sound"},
  };
  for (int i = 0; i < 3; ++i) {
    const CodecTableEntry* row = codecTableRow(kCodecTable, i);
    ASSERT_NE(row, nullptr);
    EXPECT_STREQ(row->libraryFile, rows[i].file);
    EXPECT_EQ(row->nameStringId, rows[i].name);
    EXPECT_EQ(row->descriptionStringId, rows[i].description);
    EXPECT_STREQ(row->exportPrefix, rows[i].prefix);
    EXPECT_EQ(engineMessage(row->nameStringId), rows[i].nameText);
    EXPECT_FALSE(engineMessage(row->descriptionStringId).empty());
  }
  EXPECT_STREQ(kCodecTable[3].libraryFile, "");
  EXPECT_EQ(codecTableRow(kCodecTable, 3), nullptr);
  EXPECT_EQ(codecTableRow(kCodecTable, -1), nullptr);
}

TEST(CodecLibrary, BindsByOrdinalAndReadsTheInformationRecord) {
  const CodecTableEntry row = {ZV_FAKE_CODEC_VARIABLE, 0, 0, "FAKE_"};
  for (CodecRole role : {CodecRole::Encoder, CodecRole::Decoder}) {
    CodecLibrary codec;
    ASSERT_TRUE(codec.load(row)) << codec.loadError();
    ASSERT_EQ(codec.bind(role), CodecBindResult::Bound);
    EXPECT_EQ(codec.codecId(), 0x7E57);
    EXPECT_EQ(codec.pcmBytesPerFrame(), 256);
    EXPECT_EQ(codec.maxCodedBytes(), 39);
    EXPECT_EQ(codec.codecVersion(), 0x00020005u);
    EXPECT_TRUE(codec.open());
    codec.unload();
    EXPECT_FALSE(codec.opened());
  }
}

TEST(CodecLibrary, LibraryWithoutOrdinalEightIsNotBound) {
  const CodecTableEntry row = {ZV_FAKE_CODEC_NO_INFO, 0, 0, "FAKE_"};
  CodecLibrary codec;
  ASSERT_TRUE(codec.load(row));
  EXPECT_EQ(codec.bind(CodecRole::Encoder), CodecBindResult::EntryPointMissing);
}

// Binding comes before the job opens any file: with the PCM work file gone,
// a job that read first would end as "input not opened" instead.
TEST(CodecBinding, LibraryWithoutOrdinalEightIsRefusedBeforeAnyFileIsTouched) {
  for (JobMode mode : {JobMode::Encode, JobMode::Decode}) {
    JobHarness harness;
    ASSERT_EQ(::unlink(harness.workspace().PcmWorkFile.c_str()), 0);
    JobContext context;
    context.streamPath = harness.outputs().file("clip.zvsa");
    if (mode == JobMode::Decode) test::writeFile(context.streamPath, test::Bytes(200, 7));
    const test::Bytes decodedBefore = test::readFile(harness.workspace().DecodedPcmFile);
    test::writeFile(harness.workspace().DecodedPcmFile, {1, 2, 3});

    const JobRun run = harness.run(mode, context, harness.tableWith(ZV_FAKE_CODEC_NO_INFO));

    EXPECT_EQ(run.end, JobEnd::EntryPointMissing);
    EXPECT_TRUE(run.doneIsLast());
    EXPECT_EQ(run.countOf(WM_JOB_PROGRESS), 0);
    EXPECT_TRUE(harness.strayTemporaryFiles().empty());
    EXPECT_EQ(test::readFile(harness.workspace().DecodedPcmFile), (test::Bytes{1, 2, 3}));
    if (mode == JobMode::Encode) {
      EXPECT_FALSE(test::fileExists(context.streamPath));
    }
    EXPECT_TRUE(harness.presenter().shown().empty());
  }
}

// A path that does not exist stands for any library the loader cannot find.
TEST(CodecBinding, MissingLibraryEndsTheJobWithoutAnyMessageOrFile) {
  JobHarness harness;
  harness.setPcm(test::Bytes(640, 1));
  const CodecTable table = harness.tableWith("/nonexistent/libZvNoSuchCodec.so");
  for (JobMode mode : {JobMode::Encode, JobMode::Decode}) {
    JobContext context;
    context.codecIndex = 0;
    context.codedBytes = 4242;
    context.streamPath = harness.outputs().file("never.zvsa");
    const JobRun run = harness.run(mode, context, table);
    EXPECT_EQ(run.end, JobEnd::LibraryNotLoaded);
    EXPECT_TRUE(run.messages.empty());
    EXPECT_EQ(context.codedBytes, 4242u);
    EXPECT_EQ(context.pcmBytes, 0u);
    EXPECT_FALSE(test::fileExists(context.streamPath));
    EXPECT_TRUE(harness.strayTemporaryFiles().empty());
  }
}

// A starter that waits for messages must still learn that such a job ended:
// the runner's thread-end callback wakes it, with no message in the queue.
TEST(CodecBinding, StarterWaitingForMessagesIsWokenWhenTheJobPostsNone) {
  JobHarness harness;
  MessageQueueNotifier notifier;
  JobContext context;
  context.codecIndex = 0;
  context.notifyWindow = &notifier;
  context.streamPath = harness.outputs().file("never.zvsa");
  JobEnvironment environment(harness.workspace(), harness.presenter());
  environment.codecTable = harness.tableWith("/nonexistent/libZvNoSuchCodec.so");
  JobRunner runner;
  ASSERT_TRUE(runner.start(JobMode::Encode, context, environment,
                           [&notifier](JobEnd) { notifier.wake(); }));
  EXPECT_FALSE(notifier.waitNext().has_value());
  EXPECT_TRUE(runner.finished());
  EXPECT_EQ(runner.join(), JobEnd::LibraryNotLoaded);
}

TEST(CodecBinding, CoderThatCannotBeOpenedEndsWithTheEndMessageAndNoStream) {
  JobHarness harness;
  harness.setPcm(test::Bytes(64, 3));
  JobContext context;
  context.codedBytes = 77;
  context.streamPath = harness.outputs().file("clip.zvsa");
  const JobRun run =
      harness.run(JobMode::Encode, context, harness.tableWith(ZV_FAKE_CODEC_NULL_OPEN));
  EXPECT_EQ(run.end, JobEnd::InstanceNotOpened);
  EXPECT_TRUE(run.doneIsLast());
  EXPECT_EQ(context.codedBytes, 77u);
  EXPECT_FALSE(test::fileExists(context.streamPath));
  EXPECT_TRUE(harness.strayTemporaryFiles().empty());
}

}  // namespace
}  // namespace zv
