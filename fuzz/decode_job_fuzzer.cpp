// The decode job on arbitrary stream files, with the delivered speech and
// music codec libraries, run as the dialog runs it but on the fuzzer's
// thread. The first input byte picks the codec; the rest is the file.
//
// The libraries are the fuzz build's own (instrumented) libQV80W.so and
// libQV160MXW.so from the library folder, bound by ordinal through the real
// codec table, so the whole path (loading, binding, header skip, frame loop
// with its step-back, the codecs' decoders) is exercised. They are opened
// once at start and kept open: each job then only raises and lowers their
// reference count, so the coverage counters libFuzzer registered for them
// are never unmapped by a job's unload.
#include <cstdlib>
#include <memory>
#include <string>

#include "encoder/decode_job.h"
#include "encoder/engine_workspace.h"
#include "fuzz/fuzz_input_file.h"
#include "platform/message_presenter.h"
#include "platform/module.h"

namespace {

struct Session {
  zv::Module speech = zv::Module::load("QV80W.DLL");
  zv::Module music = zv::Module::load("QV160MXW.DLL");
  std::string workspaceError;
  std::unique_ptr<zv::EngineWorkspace> workspace = zv::EngineWorkspace::create(workspaceError);
  zv::StderrMessagePresenter presenter{"decode_job_fuzzer: "};
  zv::fuzz::FuzzFile stream{"ZVFUZZSTREAM"};
  Session() {
    if (!speech.loaded() || !music.loaded() || !workspace) std::abort();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Session session;
  if (size == 0) return 0;
  session.stream.write(data + 1, size - 1);
  zv::JobContext context;
  context.streamPath = session.stream.path();
  context.codecIndex = (data[0] & 1) ? zv::kMusicCodecIndex : zv::kSpeechCodecIndex;
  zv::JobEnvironment environment(*session.workspace, session.presenter);
  environment.ticks = [] { return std::uint64_t{0}; };
  const zv::JobEnd end = zv::DecodeJob(context, environment);
  // Every ending but these means the job failed to run at all.
  if (end != zv::JobEnd::Completed && end != zv::JobEnd::CodecFailed) std::abort();
  return 0;
}
