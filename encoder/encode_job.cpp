#include "encoder/encode_job.h"

#include <unistd.h>

#include <cstring>
#include <limits>
#include <memory>
#include <new>

#include "encoder/codec_library.h"
#include "encoder/encoder_version.h"
#include "encoder/engine_strings.h"
#include "encoder/file_handle.h"
#include "encoder/progress_throttle.h"
#include "encoder/stream_file_writer.h"
#include "encoder/stream_header.h"
#include "platform/temporary_file.h"

namespace zv {

namespace {

// The temporary file the coded frames are collected in while the total
// length (needed by the header, which comes first) is not yet known. It
// exists only while the job runs: in the stream file's folder where it can
// (a wizard run's private folder, which a crash does not leave behind for
// good), else in the temporary folder.
struct FrameFile {
  std::string path;
  FileHandle file;

  bool create(const std::string& streamPath) {
    const std::string::size_type slash = streamPath.rfind('/');
    if (slash != std::string::npos)
      path = createUniqueFile(streamPath.substr(0, slash + 1), kWorkingFilePrefix);
    if (path.empty()) path = createTemporaryFile(kWorkingFilePrefix);
    if (path.empty()) return false;
    file = openFile(path, "w+b", kJobStreamBufferBytes);
    return file != nullptr;
  }
  ~FrameFile() {
    file.reset();
    if (!path.empty()) ::unlink(path.c_str());
  }
};

// sampleRate * pcmBytes / avgBytesPerSec with a 64-bit product, truncated,
// kept to 32 bits. A format without a byte rate gives 0 rather than a
// division by zero.
std::uint32_t streamSampleCount(const WaveFormat& format, std::uint32_t pcmBytes) {
  if (format.avgBytesPerSec == 0) return 0;
  const std::uint64_t samples =
      static_cast<std::uint64_t>(format.samplesPerSec) * pcmBytes / format.avgBytesPerSec;
  return static_cast<std::uint32_t>(samples);
}

// Steps 2 to 8; returns with every resource but the library still held by
// the caller's CodecLibrary.
JobEnd encodeFrames(JobContext& context, const JobEnvironment& environment,
                    const CodecTableEntry& row, CodecLibrary& codec) {
  switch (codec.bind(CodecRole::Encoder)) {
    case CodecBindResult::Bound: break;
    case CodecBindResult::EntryPointMissing: return JobEnd::EntryPointMissing;
    case CodecBindResult::InfoUnusable: return JobEnd::InfoUnusable;
  }
  const std::uint16_t frameBytes = codec.pcmBytesPerFrame();
  const std::uint16_t maxCoded = codec.maxCodedBytes();
  const EngineWorkspace& workspace = environment.workspace;

  FileHandle pcm = openFile(workspace.PcmWorkFile, "rb", kJobStreamBufferBytes);
  if (!pcm) return JobEnd::InputNotOpened;
  const auto length = fileLength(pcm.get());
  if (!length) return JobEnd::InputNotOpened;
  if (*length > std::numeric_limits<std::uint32_t>::max()) return JobEnd::InputTooLarge;
  const std::uint32_t pcmBytes = static_cast<std::uint32_t>(*length);
  context.pcmBytes = pcmBytes;

  FrameFile frames;
  if (!frames.create(context.streamPath)) return JobEnd::OutputNotCreated;

  std::unique_ptr<unsigned char[]> pcmBuffer(new (std::nothrow) unsigned char[frameBytes]);
  std::unique_ptr<unsigned char[]> codedBuffer;
  if (pcmBuffer) codedBuffer.reset(new (std::nothrow) unsigned char[maxCoded]);
  if (!pcmBuffer || !codedBuffer) {
    showEngineMessage(environment.presenter, kIdsJobOutOfMemory);
    return JobEnd::OutOfMemory;
  }

  if (!codec.open()) return JobEnd::InstanceNotOpened;

  std::uint64_t codedTotal = 0;  // T
  std::uint64_t readTotal = 0;   // R
  ProgressThrottle progress(environment.ticks, context.notifyWindow);
  std::uint16_t pcmCount = frameBytes;  // N: passed by address, never reset
  for (;;) {
    // The codec may lower N; a count it left at 0 or above the buffer would
    // end the input early or overrun the buffer, so it reads a whole frame.
    const std::size_t ask = (pcmCount == 0 || pcmCount > frameBytes) ? frameBytes : pcmCount;
    const std::size_t got = std::fread(pcmBuffer.get(), 1, ask, pcm.get());
    if (got < ask && std::ferror(pcm.get())) return JobEnd::InputReadFailed;

    if (got > 0) {
      // A short final read is completed with silence: the codec always
      // codes a whole frame, and the bytes of the previous frame must not
      // sound again at the end of the clip.
      if (got < frameBytes) std::memset(pcmBuffer.get() + got, 0, frameBytes - got);
      std::uint16_t codedCount = maxCoded;
      const std::int32_t result =
          codec.encode(pcmBuffer.get(), &pcmCount, codedBuffer.get(), &codedCount);
      if (CodecLibrary::isFailure(result) || codedCount > maxCoded) return JobEnd::CodecFailed;
      if (std::fwrite(codedBuffer.get(), 1, codedCount, frames.file.get()) != codedCount)
        return JobEnd::OutputWriteFailed;
      codedTotal += codedCount;
      readTotal += got;
      if (codedTotal > std::numeric_limits<std::uint32_t>::max()) return JobEnd::CodecFailed;
      progress.frameDone(readTotal, pcmBytes);
    }

    if (context.CancelEvent.tryWait()) return JobEnd::Cancelled;
    if (got == 0) break;
  }

  if (std::fflush(frames.file.get()) != 0) return JobEnd::OutputWriteFailed;
  const std::uint32_t dataBytes = static_cast<std::uint32_t>(codedTotal);
  context.codedBytes = dataBytes;

  const StreamHeader header = makeStreamHeader(
      encoderVersionWord(), row.libraryFile, codec.codecId(), codec.codecVersion(),
      streamSampleCount(workspace.PcmFormat, pcmBytes), workspace.PcmFormat.samplesPerSec,
      dataBytes);
  if (!writeStreamFile(context.streamPath, header, frames.file.get()))
    return JobEnd::StreamNotWritten;
  return JobEnd::Completed;
}

}  // namespace

JobEnd EncodeJob(JobContext& context, const JobEnvironment& environment) {
  const CodecTableEntry* row = codecTableRow(environment.codecTable, context.codecIndex);
  CodecLibrary codec;
  if (!row || !codec.load(*row)) return JobEnd::LibraryNotLoaded;

  const JobEnd end = encodeFrames(context, environment, *row, codec);
  codec.unload();
  if (context.notifyWindow) context.notifyWindow->post(WM_JOB_DONE, 0);
  return end;
}

}  // namespace zv
