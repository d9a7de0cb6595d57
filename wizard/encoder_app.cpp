#include "wizard/encoder_app.h"

#include "platform/module.h"
#include "wizard/gallery_folder.h"
#include "wizard/wizard_strings.h"

namespace zv {

namespace {

// Constructed when the dynamic loader runs the library's initialisers and
// destroyed when the library is unloaded (or the program ends).
CEncoderApp theApp(thisModuleFolder);

}  // namespace

CEncoderApp::CEncoderApp(FolderFinder findLibraryFolder) : start_(initInstance(findLibraryFolder)) {}

EncoderAppStart CEncoderApp::initInstance(FolderFinder findLibraryFolder) {
  EncoderAppStart start;
  start.libraryFolder = findLibraryFolder();
  if (start.libraryFolder.empty())
    start.failure = "the dynamic loader cannot name the folder of libZvEncoder.so";
  return start;
}

CEncoderApp& CEncoderApp::instance() { return theApp; }

std::string CEncoderApp::galleryDirectory() const { return galleryDirectoryIn(start_.libraryFolder); }

std::optional<WizardRunFiles> CEncoderApp::startRun(std::string& error) {
  WizardRunFiles run;
  run.folder = RunFolder::create(error);
  if (!run.folder) return std::nullopt;
  run.workspace = EngineWorkspace::create(error, run.folder->path());
  if (!run.workspace) return std::nullopt;
  return run;
}

bool checkEncoderAppStarted(const CEncoderApp& app, MessagePresenter& presenter) {
  if (app.start().started()) return true;
  showWizardMessage(presenter, kIdsLibraryNotStarted, app.start().failure);
  return false;
}

}  // namespace zv
