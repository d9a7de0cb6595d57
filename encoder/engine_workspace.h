// EngineWorkspace: the working files and records that the encoding library
// keeps while it is loaded, shared by its pages and its jobs.
//
// Construction creates, in this order, PcmWorkFile, DecodedPcmFile and
// AuConvertFile: empty files with unique names beginning "ZVSA" in the
// temporary directory ($TMPDIR, else /tmp). Destruction deletes the three.
// The wizard's application object owns one workspace for the life of the
// library; the command line makes one per job so that jobs can run side by
// side.
//
//   PcmWorkFile     headerless 16-bit PCM: input of the encode job
//   DecodedPcmFile  headerless 16-bit PCM: output of the decode job
//   AuConvertFile   the intermediate WAV made from an AU source
//   PcmFormat       the format record describing PcmWorkFile (initially that
//                   of 8 kHz mono 16-bit PCM)
//   LastErrorText   text of the last conversion error
#ifndef ZV_ENCODER_ENGINE_WORKSPACE_H
#define ZV_ENCODER_ENGINE_WORKSPACE_H

#include <string>

#include "encoder/guarded_text.h"
#include "encoder/wave_format.h"

namespace zv {

inline constexpr const char* kWorkingFilePrefix = "ZVSA";

class EngineWorkspace {
 private:
  // Declared first: the constructor records a failure here while it makes
  // the working files below.
  std::string error_;

 public:
  EngineWorkspace();
  ~EngineWorkspace();
  EngineWorkspace(const EngineWorkspace&) = delete;
  EngineWorkspace& operator=(const EngineWorkspace&) = delete;

  // True when all three working files were created. When false, the paths
  // that could not be made are empty and error() says why.
  bool ready() const;
  const std::string& error() const { return error_; }

  const std::string PcmWorkFile;
  const std::string DecodedPcmFile;
  const std::string AuConvertFile;
  WaveFormat PcmFormat;
  GuardedText LastErrorText;
};

}  // namespace zv

#endif  // ZV_ENCODER_ENGINE_WORKSPACE_H
