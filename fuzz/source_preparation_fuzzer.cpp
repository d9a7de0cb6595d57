// Any bytes through the whole source preparation, as the audio input page
// and `zvsa encode` run it: the content decides the route (RIFF to the WAV
// reader, ".snd" to the AU reader and its conversion file, anything else to
// libsndfile, which recognises FLAC, Ogg, MP3, AIFF... by content), then the
// conversion to 8000 Hz mono 16-bit into PcmWorkFile.
//
// Whatever the bytes, preparation either succeeds silently with a
// PcmWorkFile of whole 16-bit samples and a PcmFormat of 8000 Hz mono
// 16-bit, or fails with one message and leaves PcmWorkFile and PcmFormat as
// they were.
#include <sys/stat.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "encoder/engine_workspace.h"
#include "encoder/input_preparation.h"
#include "fuzz/fuzz_input_file.h"
#include "platform/message_presenter.h"

namespace {

// Counts the messages shown; there are no questions on this road.
class CountingPresenter : public zv::MessagePresenter {
 public:
  zv::MessageAnswer present(const zv::MessageRequest&) override {
    ++shown;
    return zv::MessageAnswer::Ok;
  }
  int shown = 0;
};

struct Session {
  std::string workspaceError;
  std::unique_ptr<zv::EngineWorkspace> workspace = zv::EngineWorkspace::create(workspaceError);
  zv::fuzz::FuzzFile source{"ZVFUZZSOURCE"};
  Session() {
    if (!workspace) std::abort();
  }
};

long long sizeOf(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 ? static_cast<long long>(status.st_size) : -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Session session;
  session.source.write(data, size);
  zv::EngineWorkspace& workspace = *session.workspace;
  const long long before = sizeOf(workspace.PcmWorkFile);
  const zv::WaveFormat formatBefore = workspace.PcmFormat;
  CountingPresenter presenter;
  if (zv::prepareSourceFile(workspace, session.source.path(), presenter)) {
    const zv::WaveFormat& format = workspace.PcmFormat;
    if (presenter.shown != 0 || format.samplesPerSec != 8000 || format.channels != 1 ||
        format.bitsPerSample != 16 || sizeOf(workspace.PcmWorkFile) % 2 != 0)
      std::abort();
  } else if (presenter.shown != 1 || sizeOf(workspace.PcmWorkFile) != before ||
             !(workspace.PcmFormat == formatBefore)) {
    std::abort();
  }
  return 0;
}
