#include "encoder/engine_workspace.h"

#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <new>
#include <span>

#include "platform/temporary_file.h"

namespace zv {

namespace {

void deleteFiles(std::span<const std::string> paths) {
  for (const std::string& path : paths)
    if (!path.empty()) ::unlink(path.c_str());
}

}  // namespace

std::unique_ptr<EngineWorkspace> EngineWorkspace::create(std::string& error) {
  return create(error, temporaryDirectory());
}

std::unique_ptr<EngineWorkspace> EngineWorkspace::create(std::string& error,
                                                         std::string_view directory) {
  std::array<std::string, 3> paths;  // in the order they are made
  for (std::string& path : paths) {
    path = createUniqueFile(directory, kWorkingFilePrefix);
    if (path.empty()) {
      error = "cannot create a working file in " + std::string(directory) + ": " +
              std::strerror(errno);
      deleteFiles(paths);
      return nullptr;
    }
  }
  // Not make_unique: the constructor is private.
  std::unique_ptr<EngineWorkspace> workspace(new (std::nothrow)
                                                 EngineWorkspace(paths[0], paths[1], paths[2]));
  if (!workspace) {
    error = "there is not enough memory for the working files";
    deleteFiles(paths);
  }
  return workspace;
}

EngineWorkspace::EngineWorkspace(const std::string& pcmWorkFile, const std::string& decodedPcmFile,
                                 const std::string& auConvertFile)
    : PcmWorkFile(pcmWorkFile),
      DecodedPcmFile(decodedPcmFile),
      AuConvertFile(auConvertFile),
      PcmFormat(codecPcmFormat()) {}

EngineWorkspace::~EngineWorkspace() {
  for (const std::string* path : {&PcmWorkFile, &DecodedPcmFile, &AuConvertFile})
    ::unlink(path->c_str());
}

}  // namespace zv
