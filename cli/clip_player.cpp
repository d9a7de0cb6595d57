#include "cli/clip_player.h"

#include <cstdio>

#include "cli/file_tasks.h"
#include "encoder/codec_library.h"
#include "encoder/file_handle.h"
#include "encoder/job_context.h"
#include "encoder/stream_census.h"
#include "encoder/stream_frame_decoder.h"
#include "encoder/wave_format.h"

namespace zv::cli {

namespace {

ClipOutcome failed(std::string problem) { return {ClipEnd::Failed, std::move(problem)}; }

ClipOutcome failed(JobEnd end) { return failed(describeJobEnd(end)); }

// Where the listener is after `handedBytes` of PCM went to `output`.
PlayPosition positionAfter(std::uint64_t handedBytes, SoundOutput& output, double totalSeconds) {
  const double handedSeconds =
      static_cast<double>(handedBytes) / static_cast<double>(codecPcmFormat().avgBytesPerSec);
  const double queuedSeconds = static_cast<double>(output.queuedMicroseconds()) / 1e6;
  double elapsed = handedSeconds > queuedSeconds ? handedSeconds - queuedSeconds : 0.0;
  // The last frame is padded past the samples the clip was made of.
  if (totalSeconds > 0 && elapsed > totalSeconds) elapsed = totalSeconds;
  return {elapsed, totalSeconds};
}

// The frames of an opened, bound decoder from the stream positioned after
// the header, to the output until the end, a failure or a stop.
ClipOutcome playFrames(std::FILE* stream, CodecLibrary& codec, SoundOutput& output,
                       const ClipPlayback& playback, double totalSeconds) {
  StreamFrameDecoder frames(stream, codec);
  if (!frames.allocateBuffers()) return failed(JobEnd::OutOfMemory);
  std::uint64_t handedBytes = 0;
  for (;;) {
    if (playback.stopRequested && playback.stopRequested()) return {ClipEnd::Stopped, {}};
    switch (frames.next()) {
      case StreamFrameDecoder::Step::Frame: break;
      case StreamFrameDecoder::Step::End: return {ClipEnd::Played, {}};
      case StreamFrameDecoder::Step::ReadFailed: return failed(JobEnd::InputReadFailed);
      case StreamFrameDecoder::Step::CodecFailed:
        return failed("the stream file is damaged: its frames do not decode to its end");
    }
    if (const std::string error = output.write({frames.pcm(), frames.pcmBytes()}); !error.empty())
      return {ClipEnd::OutputFailed, "the sound server took no more sound: " + error};
    handedBytes += frames.pcmBytes();
    if (playback.onPosition) playback.onPosition(positionAfter(handedBytes, output, totalSeconds));
  }
}

}  // namespace

ClipOutcome playClip(const std::string& path, SoundOutput& output, const ClipPlayback& playback) {
  if (const std::string problem = regularFileProblem(path); !problem.empty()) return failed(problem);
  const auto header = readStreamHeader(path);
  if (!header) return failed("not a stream file: shorter than the 154-byte header");
  const int codecIndex = playback.codecIndex ? *playback.codecIndex : findCodecIndexForTag(header->codecTag);
  if (codecIndex < 0)
    return failed("no codec library reports the codec identifier " + std::to_string(header->codecTag) +
                  "; name the codec with --codec");
  if (const std::string problem = codecLibraryProblem(codecIndex); !problem.empty()) return failed(problem);

  CodecLibrary codec;
  const CodecTableEntry* row = codecTableRow(kCodecTable, codecIndex);
  if (!row || !codec.load(*row)) return failed(JobEnd::LibraryNotLoaded);
  switch (codec.bind(CodecRole::Decoder)) {
    case CodecBindResult::Bound: break;
    case CodecBindResult::EntryPointMissing: return failed(JobEnd::EntryPointMissing);
    case CodecBindResult::InfoUnusable: return failed(JobEnd::InfoUnusable);
  }
  if (!codec.open()) return failed(JobEnd::InstanceNotOpened);

  FileHandle stream = openFile(path, "rb", kJobStreamBufferBytes);
  if (!stream || fseeko(stream.get(), static_cast<off_t>(kStreamHeaderSize), SEEK_SET) != 0)
    return failed(JobEnd::InputNotOpened);
  const double totalSeconds =
      header->sampleRate ? static_cast<double>(header->sampleCount) / header->sampleRate : 0.0;
  if (playback.onPosition) playback.onPosition({0.0, totalSeconds});
  return playFrames(stream.get(), codec, output, playback, totalSeconds);
}

std::string formatPlayTime(double seconds) {
  const auto tenths = static_cast<long long>(seconds < 0 ? 0 : seconds * 10.0);
  const long long wholeSeconds = tenths / 10;
  const long long hours = wholeSeconds / 3600;
  const long long minutes = wholeSeconds / 60 % 60;
  char text[48];
  if (hours > 0)
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld.%lld", hours, minutes, wholeSeconds % 60, tenths % 10);
  else
    std::snprintf(text, sizeof text, "%lld:%02lld.%lld", minutes, wholeSeconds % 60, tenths % 10);
  return text;
}

}  // namespace zv::cli
