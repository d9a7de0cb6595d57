#include "wizard/encoder_app.h"

namespace zv {

namespace {

// Constructed when the dynamic loader runs the library's initialisers and
// destroyed when the library is unloaded (or the program ends): the
// library's load and unload.
CEncoderApp theApp;

}  // namespace

CEncoderApp::CEncoderApp() { workspace_ = EngineWorkspace::create(workspaceError_); }

CEncoderApp::~CEncoderApp() = default;  // the workspace deletes its files

CEncoderApp& CEncoderApp::instance() { return theApp; }

EngineWorkspace* CEncoderApp::workspace() {
  if (!workspace_) workspace_ = EngineWorkspace::create(workspaceError_);
  return workspace_.get();
}

}  // namespace zv
