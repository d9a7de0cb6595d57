#include "encoder/engine_workspace.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/temporary_file.h"

namespace zv {

namespace {

// Makes one working file; on failure leaves the reason in `error` (the first
// reason wins) and returns an empty path.
std::string makeWorkingFile(std::string& error) {
  std::string path = createTemporaryFile(kWorkingFilePrefix);
  if (path.empty() && error.empty())
    error = "cannot create a working file in " + temporaryDirectory() + ": " +
            std::strerror(errno);
  return path;
}

}  // namespace

// Members are initialised in declaration order: error_ first, then the three
// files in the order they must be created in.
EngineWorkspace::EngineWorkspace()
    : PcmWorkFile(makeWorkingFile(error_)),
      DecodedPcmFile(makeWorkingFile(error_)),
      AuConvertFile(makeWorkingFile(error_)),
      PcmFormat(codecPcmFormat()) {}

EngineWorkspace::~EngineWorkspace() {
  for (const std::string* path : {&PcmWorkFile, &DecodedPcmFile, &AuConvertFile})
    if (!path->empty()) ::unlink(path->c_str());
}

bool EngineWorkspace::ready() const {
  return !PcmWorkFile.empty() && !DecodedPcmFile.empty() && !AuConvertFile.empty();
}

}  // namespace zv
