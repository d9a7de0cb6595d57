// CEncoderApp: the wizard library's application object, alive from the
// moment the library is loaded until it is unloaded.
//
// Start-up, in this order:
//   1. the dynamic loader runs the library's initialisers, which make the
//      one application object; its constructor runs the start-up step,
//      initInstance(): it finds the folder the library was loaded from,
//      from which the installation's gallery is found. It makes no file.
//   2. each entry point, before anything else it does, checks the result
//      (checkEncoderAppStarted): after a failed start the user is told why
//      and DoZvEncoder answers Cancel without showing the wizard.
//   3. each run of the wizard makes its own files (startRun).
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
#include "platform/message_presenter.h"
#include "platform/run_folder.h"

namespace zv {

// One run's folder and the working files in it; the files go first.
struct WizardRunFiles {
  std::unique_ptr<RunFolder> folder;
  std::unique_ptr<EngineWorkspace> workspace;
};

// What the start-up step found.
struct EncoderAppStart {
  std::string libraryFolder;  // with a trailing '/'; empty when the start failed
  std::string failure;        // why the start failed; empty when it did not

  bool started() const { return failure.empty(); }
};

class CEncoderApp {
 public:
  // Gives the folder of the module that holds this code, with a trailing
  // '/', or "" when the loader cannot name it (thisModuleFolder()).
  using FolderFinder = std::string (*)();

  // Runs the start-up step with `findLibraryFolder`; the library's own
  // object uses thisModuleFolder().
  explicit CEncoderApp(FolderFinder findLibraryFolder);
  CEncoderApp(const CEncoderApp&) = delete;
  CEncoderApp& operator=(const CEncoderApp&) = delete;

  // The library's one application object.
  static CEncoderApp& instance();

  const EncoderAppStart& start() const { return start_; }

  // The installation's gallery, found from the library folder
  // (galleryDirectoryIn); only meaningful after a successful start.
  std::string galleryDirectory() const;

  // A new run's folder with its working files, or nothing when either cannot
  // be made (`error` says why; nothing is left behind).
  std::optional<WizardRunFiles> startRun(std::string& error);

 private:
  // The start-up step: the library's folder, or the reason it has none.
  static EncoderAppStart initInstance(FolderFinder findLibraryFolder);

  const EncoderAppStart start_;
};

// The entry points' first check. True when `app` has started; otherwise
// tells the user why (10535) and is false: the entry then answers Cancel.
bool checkEncoderAppStarted(const CEncoderApp& app, MessagePresenter& presenter);

}  // namespace zv

#endif  // ZV_WIZARD_ENCODER_APP_H
