#include "encoder/input_preparation.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "encoder/au_file_reader.h"
#include "encoder/engine_strings.h"
#include "encoder/file_handle.h"
#include "encoder/pcm_sink.h"
#include "encoder/reader_failure.h"
#include "encoder/sound_file_reader.h"
#include "encoder/wave_file_reader.h"
#include "platform/replacing_file.h"

namespace zv {

namespace {

enum class SourceKind { Wave, Au, Other };

SourceKind sniffSource(std::FILE* file) {
  char magic[4];
  if (std::fread(magic, 1, sizeof magic, file) != sizeof magic) return SourceKind::Other;
  if (std::memcmp(magic, "RIFF", 4) == 0) return SourceKind::Wave;
  if (std::memcmp(magic, ".snd", 4) == 0) return SourceKind::Au;
  return SourceKind::Other;
}

// Why `path` cannot be a source, or an empty text when it is a regular
// file: a pipe or a device could block or never end.
std::string sourceFileProblem(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return osReason(errno);
  if (S_ISDIR(info.st_mode)) return osReason(EISDIR);
  if (!S_ISREG(info.st_mode)) return "Not a regular file";
  return {};
}

// The working file's sink as a watched conversion sees it: progress passed
// on, and a refusal of the next block once cancelled, which makes the
// reader stop as on a write failure (the caller then says nothing).
class WatchedPcmSink : public PcmSink {
 public:
  WatchedPcmSink(PcmSink& inner, ConversionWatch& watch) : inner_(inner), watch_(watch) {}
  bool write(const std::uint8_t* bytes, std::size_t count) override {
    return !watch_.cancelled() && inner_.write(bytes, count);
  }
  EngineNotice failure() const override { return inner_.failure(); }
  void sourceRead(std::uint64_t done, std::uint64_t whole) override { watch_.progress(done, whole); }

 private:
  PcmSink& inner_;
  ConversionWatch& watch_;
};

}  // namespace

bool checkSourceFile(const std::string& sourcePath, MessagePresenter& presenter,
                     MessageWording wording) {
  const auto show = [&presenter, wording](const EngineNotice& notice) {
    showEngineText(presenter, wording(notice));
    return false;
  };
  if (sourcePath.empty()) return show({kIdsSelectSourceFile, {}, {}});
  if (std::string problem = sourceFileProblem(sourcePath); !problem.empty())
    return show({kIdsInvalidFileName, sourcePath, std::move(problem)});
  return true;
}

bool prepareSourceFile(EngineWorkspace& workspace, const std::string& sourcePath,
                       MessagePresenter& presenter, MessageWording wording,
                       ConversionWatch* watch) {
  const auto show = [&presenter, wording](const EngineNotice& notice) {
    showEngineText(presenter, wording(notice));
    return false;
  };
  if (!checkSourceFile(sourcePath, presenter, wording)) return false;
  SourceKind kind;
  {
    errno = 0;
    FileHandle source = openFile(sourcePath, "rb");
    if (!source) return show({kIdsInvalidFileName, sourcePath, osReason(errno)});
    kind = sniffSource(source.get());
  }

  ReplacingFile work;
  errno = 0;
  if (!work.open(workspace.PcmWorkFile))
    return show({kNoticePcmWorkFileNotWritten, sourcePath, osReason(errno)});
  std::setvbuf(work.stream(), nullptr, _IOFBF, kJobStreamBufferBytes);
  StreamPcmSink fileSink(work.stream(), sourcePath);
  std::optional<WatchedPcmSink> watchedSink;
  if (watch) watchedSink.emplace(fileSink, *watch);
  PcmSink& sink = watchedSink ? static_cast<PcmSink&>(*watchedSink) : fileSink;

  workspace.LastErrorText.clear();
  const FailureReport report(workspace.LastErrorText, wording);
  WaveFormat format;
  bool read = false;
  switch (kind) {
    case SourceKind::Au:
      read = ReadAuFile(sourcePath, workspace.AuConvertFile, report) &&
             ReadWaveFile(workspace.AuConvertFile, format, sink, report);
      break;
    case SourceKind::Wave:
      read = ReadWaveFile(sourcePath, format, sink, report);
      break;
    case SourceKind::Other:
      switch (readSoundFile(sourcePath, format, sink, report)) {
        case SoundFileRead::Converted: read = true; break;
        case SoundFileRead::NotRecognised: return show({kIdsNeitherWavNorAu, {}, {}});
        case SoundFileRead::Failed: break;
      }
      break;
  }
  if (!read) {
    if (watch && watch->cancelled()) return false;
    std::string text = workspace.LastErrorText.get();
    if (text.empty()) text = wording({kIdsConversionFailed, {}, {}});
    showEngineText(presenter, text);
    return false;
  }

  // A working file: atomic replacement matters, surviving a power cut not.
  errno = 0;
  if (!work.commit(ReplacingFile::Sync::CacheOnly))
    return show({kNoticePcmWorkFileNotWritten, sourcePath, osReason(errno)});
  workspace.PcmFormat = format;
  return true;
}

}  // namespace zv
