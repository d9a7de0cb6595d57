#include "encoder/input_preparation.h"

#include <sys/stat.h>

#include <cstring>
#include <vector>

#include "encoder/au_file_reader.h"
#include "encoder/engine_strings.h"
#include "encoder/file_handle.h"
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

bool writePcmWorkFile(const std::string& path, const std::vector<std::uint8_t>& samples) {
  ReplacingFile out;
  if (!out.open(path)) return false;
  if (!samples.empty() &&
      std::fwrite(samples.data(), 1, samples.size(), out.stream()) != samples.size())
    return false;
  // A working file: atomic replacement matters, surviving a power cut not.
  return out.commit(ReplacingFile::Sync::CacheOnly);
}

}  // namespace

bool prepareSourceFile(EngineWorkspace& workspace, const std::string& sourcePath,
                       MessagePresenter& presenter) {
  if (sourcePath.empty()) {
    showEngineMessage(presenter, kIdsSelectSourceFile);
    return false;
  }
  struct stat info {};
  if (::stat(sourcePath.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
    showEngineMessage(presenter, kIdsInvalidFileName, sourcePath);
    return false;
  }
  SourceKind kind;
  {
    FileHandle source = openFile(sourcePath, "rb");
    if (!source) {
      showEngineMessage(presenter, kIdsInvalidFileName, sourcePath);
      return false;
    }
    kind = sniffSource(source.get());
  }
  if (kind == SourceKind::Other) {
    showEngineMessage(presenter, kIdsNeitherWavNorAu);
    return false;
  }

  workspace.LastErrorText.clear();
  WaveFormat format;
  std::vector<std::uint8_t> samples;
  bool read = false;
  if (kind == SourceKind::Au) {
    read = ReadAuFile(sourcePath, workspace.AuConvertFile, workspace.LastErrorText) &&
           ReadWaveFile(workspace.AuConvertFile, format, samples, workspace.LastErrorText);
  } else {
    read = ReadWaveFile(sourcePath, format, samples, workspace.LastErrorText);
  }
  if (!read) {
    std::string text = workspace.LastErrorText.get();
    if (text.empty()) text = engineMessage(kIdsConversionFailed);
    showEngineText(presenter, text);
    return false;
  }

  if (!writePcmWorkFile(workspace.PcmWorkFile, samples)) {
    showEngineMessage(presenter, kIdsFileDoesNotExist, sourcePath);
    return false;
  }
  workspace.PcmFormat = format;
  return true;
}

}  // namespace zv
