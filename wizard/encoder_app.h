// CEncoderApp: the wizard library's application object, alive from the
// moment the library is loaded until it is unloaded.
//
// Every run of the wizard (each DoZvEncoder call) gets a private folder
// under $TMPDIR (platform/run_folder.h) holding that run's working files
// (PcmWorkFile, DecodedPcmFile, AuConvertFile, made in that order, named
// "ZVSA..."), its stream file and its finished clip, so that runs in two
// processes, of one user or two, never meet on a file name. The working
// files go when the run ends; a cancelled run leaves nothing; a finished
// run leaves its folder with the clip for the caller. Folders of runs that
// died are cleared by the next run. (The settings store's names,
// organisation "Z&V" and application "Z&V Tavelworks", are fixed in
// settings_store.h, so nothing process-wide such as QCoreApplication's
// names is changed for them.)
#ifndef ZV_WIZARD_ENCODER_APP_H
#define ZV_WIZARD_ENCODER_APP_H

#include <memory>
#include <optional>
#include <string>

#include "encoder/engine_workspace.h"
#include "platform/run_folder.h"

namespace zv {

// One run's folder and the working files in it; the files go first.
struct WizardRunFiles {
  std::unique_ptr<RunFolder> folder;
  std::unique_ptr<EngineWorkspace> workspace;
};

class CEncoderApp {
 public:
  CEncoderApp() = default;
  CEncoderApp(const CEncoderApp&) = delete;
  CEncoderApp& operator=(const CEncoderApp&) = delete;

  // The library's one application object.
  static CEncoderApp& instance();

  // A new run's folder with its working files, or nothing when either cannot
  // be made (`error` says why; nothing is left behind).
  std::optional<WizardRunFiles> startRun(std::string& error);
};

}  // namespace zv

#endif  // ZV_WIZARD_ENCODER_APP_H
