#include "wizard/encoder_app.h"

namespace zv {

namespace {

// Constructed when the dynamic loader runs the library's initialisers and
// destroyed when the library is unloaded (or the program ends).
CEncoderApp theApp;

}  // namespace

CEncoderApp& CEncoderApp::instance() { return theApp; }

std::optional<WizardRunFiles> CEncoderApp::startRun(std::string& error) {
  WizardRunFiles run;
  run.folder = RunFolder::create(error);
  if (!run.folder) return std::nullopt;
  run.workspace = EngineWorkspace::create(error, run.folder->path());
  if (!run.workspace) return std::nullopt;
  return run;
}

}  // namespace zv
