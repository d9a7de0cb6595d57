#include "encoder/decode_job.h"

#include "encoder/codec_library.h"
#include "encoder/engine_strings.h"
#include "encoder/file_handle.h"
#include "encoder/progress_throttle.h"
#include "encoder/stream_frame_decoder.h"
#include "encoder/stream_header.h"

namespace zv {

namespace {

JobEnd decodeFrames(JobContext& context, const JobEnvironment& environment, CodecLibrary& codec) {
  switch (codec.bind(CodecRole::Decoder)) {
    case CodecBindResult::Bound: break;
    case CodecBindResult::EntryPointMissing: return JobEnd::EntryPointMissing;
    case CodecBindResult::InfoUnusable: return JobEnd::InfoUnusable;
  }

  FileHandle stream = openFile(context.streamPath, "rb", kJobStreamBufferBytes);
  if (!stream) return JobEnd::InputNotOpened;
  const auto length = fileLength(stream.get());
  if (!length) return JobEnd::InputNotOpened;

  FileHandle decoded = openFile(environment.workspace.DecodedPcmFile, "w+b", kJobStreamBufferBytes);
  if (!decoded) return JobEnd::OutputNotCreated;

  StreamFrameDecoder frames(stream.get(), codec);
  if (!frames.allocateBuffers()) {
    showEngineMessage(environment.presenter, kIdsJobOutOfMemory);
    return JobEnd::OutOfMemory;
  }
  if (!codec.open()) return JobEnd::InstanceNotOpened;

  unsigned char header[kStreamHeaderSize];
  const std::size_t headerRead = std::fread(header, 1, sizeof header, stream.get());
  if (headerRead < sizeof header && std::ferror(stream.get())) return JobEnd::InputReadFailed;

  std::uint64_t consumedTotal = 0;  // K
  ProgressThrottle progress(environment.ticks, context.notifyWindow);
  for (;;) {
    const StreamFrameDecoder::Step step = frames.next();
    if (step == StreamFrameDecoder::Step::ReadFailed) return JobEnd::InputReadFailed;
    if (step == StreamFrameDecoder::Step::CodecFailed) return JobEnd::CodecFailed;
    const bool atEnd = step == StreamFrameDecoder::Step::End;
    if (!atEnd) {
      if (std::fwrite(frames.pcm(), 1, frames.pcmBytes(), decoded.get()) != frames.pcmBytes())
        return JobEnd::OutputWriteFailed;
      consumedTotal += frames.consumed();
      progress.frameDone(consumedTotal, *length);
    }
    if (context.CancelEvent.tryWait()) return JobEnd::Cancelled;
    if (atEnd) break;
  }
  if (std::fflush(decoded.get()) != 0) return JobEnd::OutputWriteFailed;
  return JobEnd::Completed;
}

}  // namespace

JobEnd DecodeJob(JobContext& context, const JobEnvironment& environment) {
  const CodecTableEntry* row = codecTableRow(environment.codecTable, context.codecIndex);
  CodecLibrary codec;
  if (!row || !codec.load(*row)) return JobEnd::LibraryNotLoaded;

  const JobEnd end = decodeFrames(context, environment, codec);
  codec.unload();
  if (context.notifyWindow) context.notifyWindow->post(WM_JOB_DONE, 0);
  return end;
}

}  // namespace zv
