// CEncoderApp: the wizard library's application object, alive from the
// moment the library is loaded until it is unloaded.
//
// At load it creates the library's working files (PcmWorkFile,
// DecodedPcmFile, AuConvertFile, in that order, named "ZVSA..." in $TMPDIR);
// at unload it deletes them. Clips made by the wizard are not working files:
// a finished one has been moved, one left by a cancelled wizard stays. (The
// settings store's names, organisation "Z&V" and application
// "Z&V Tavelworks", are fixed in settings_store.h, so nothing process-wide
// such as QCoreApplication's names is changed for them.)
#ifndef ZV_WIZARD_ENCODER_APP_H
#define ZV_WIZARD_ENCODER_APP_H

#include <memory>
#include <string>

#include "encoder/engine_workspace.h"

namespace zv {

class CEncoderApp {
 public:
  CEncoderApp();
  ~CEncoderApp();
  CEncoderApp(const CEncoderApp&) = delete;
  CEncoderApp& operator=(const CEncoderApp&) = delete;

  // The library's one application object.
  static CEncoderApp& instance();

  // The working files, or null when they could not be created (then
  // workspaceError() says why). A workspace that failed at load is tried
  // again, so that a caller who fixes $TMPDIR can go on.
  EngineWorkspace* workspace();
  const std::string& workspaceError() const { return workspaceError_; }

 private:
  std::unique_ptr<EngineWorkspace> workspace_;
  std::string workspaceError_;
};

}  // namespace zv

#endif  // ZV_WIZARD_ENCODER_APP_H
