// EngineWorkspace: the working files and records that the encoding library
// keeps while it is loaded, shared by its pages and its jobs.
//
// create() makes, in this order, PcmWorkFile, DecodedPcmFile and
// AuConvertFile: empty files with unique names beginning "ZVSA" in the
// temporary directory ($TMPDIR, else /tmp). A workspace therefore always has
// its three files; destruction deletes them. The wizard's application object
// owns one workspace for the life of the library; the command line makes one
// per job so that jobs can run side by side.
//
//   PcmWorkFile     headerless 16-bit PCM: input of the encode job
//   DecodedPcmFile  headerless 16-bit PCM: output of the decode job
//   AuConvertFile   the intermediate WAV made from an AU source
//   PcmFormat       the format record describing PcmWorkFile (initially that
//                   of 8 kHz mono 16-bit PCM)
//   LastErrorText   text of the last conversion error
#ifndef ZV_ENCODER_ENGINE_WORKSPACE_H
#define ZV_ENCODER_ENGINE_WORKSPACE_H

#include <memory>
#include <string>
#include <string_view>

#include "encoder/guarded_text.h"
#include "encoder/wave_format.h"

namespace zv {

inline constexpr const char* kWorkingFilePrefix = "ZVSA";

class EngineWorkspace {
 public:
  // A workspace with its three working files, or nothing when one of them
  // cannot be created: `error` then says why, and the files already made are
  // deleted again.
  static std::unique_ptr<EngineWorkspace> create(std::string& error);
  // The same in `directory` (a run's private folder) instead.
  static std::unique_ptr<EngineWorkspace> create(std::string& error, std::string_view directory);

  ~EngineWorkspace();
  EngineWorkspace(const EngineWorkspace&) = delete;
  EngineWorkspace& operator=(const EngineWorkspace&) = delete;

  const std::string PcmWorkFile;
  const std::string DecodedPcmFile;
  const std::string AuConvertFile;
  WaveFormat PcmFormat;
  GuardedText LastErrorText;

 private:
  EngineWorkspace(const std::string& pcmWorkFile, const std::string& decodedPcmFile,
                  const std::string& auConvertFile);
};

}  // namespace zv

#endif  // ZV_ENCODER_ENGINE_WORKSPACE_H
