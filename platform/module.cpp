#include "platform/module.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <utility>

#include "platform/ascii_case.h"
#include "platform/install_folders.h"
#include "platform/install_layout.h"

namespace zv {

namespace {

std::string folderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {};
  return path.substr(0, slash + 1);
}

}  // namespace

std::string sharedLibraryFileName(std::string_view libraryName) {
  std::string_view name = libraryName;
  if (name.find('/') != std::string_view::npos) return std::string(name);
  if (endsWithIgnoringCase(name, ".so")) return std::string(name);
  if (endsWithIgnoringCase(name, ".dll")) name.remove_suffix(4);
  return "lib" + std::string(name) + ".so";
}

std::string thisModuleFolder() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&thisModuleFolder), &info) == 0 || !info.dli_fname)
    return {};
  std::string file = info.dli_fname;
  // A program started through $PATH reports its bare name here.
  if (file.find('/') == std::string::npos) return programFolder();
  return folderOf(file);
}

std::string programFolder() {
  char buffer[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return {};
  buffer[n] = '\0';
  return folderOf(buffer);
}

Module::~Module() { unload(); }

Module::Module(Module&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)),
      path_(std::move(other.path_)),
      error_(std::move(other.error_)) {}

Module& Module::operator=(Module&& other) noexcept {
  if (this != &other) {
    unload();
    handle_ = std::exchange(other.handle_, nullptr);
    path_ = std::move(other.path_);
    error_ = std::move(other.error_);
  }
  return *this;
}

Module Module::load(std::string_view libraryName) {
  Module module;
  const std::string file = sharedLibraryFileName(libraryName);
  if (file.empty()) {
    module.error_ = "empty library name";
    return module;
  }

  auto tryOpen = [&module](const std::string& candidate) {
    dlerror();
    void* handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle) {
      module.handle_ = handle;
      module.path_ = candidate;
      module.error_.clear();
      return true;
    }
    const char* why = dlerror();
    module.error_ = why ? why : ("cannot load " + candidate);
    return false;
  };

  if (file.find('/') != std::string::npos) {
    tryOpen(file);
    return module;
  }
  const std::string besideUs = thisModuleFolder();
  const std::string program = programFolder();
  const std::string folders[] = {
      besideUs,
      folderFrom(besideUs, layout::kPrivateLibraryFromLibrary),
      folderFrom(program, layout::kPrivateLibraryFromProgram),
      folderFrom(program, layout::kLibraryFromProgram),
  };
  for (const std::string& folder : folders)
    if (!folder.empty() && tryOpen(folder + file)) return module;
  tryOpen(file);
  return module;
}

ZvEntryPoint Module::ordinal(unsigned n) const {
  if (!handle_ || n == 0) return nullptr;
  auto* table = static_cast<const ZvOrdinalTable*>(dlsym(handle_, ZV_ORDINAL_TABLE_SYMBOL));
  if (!table || !table->entries || n > table->count) return nullptr;
  return table->entries[n - 1];
}

void* Module::symbol(const char* name) const {
  if (!handle_ || !name) return nullptr;
  return dlsym(handle_, name);
}

void Module::unload() {
  if (handle_) {
    dlclose(handle_);
    handle_ = nullptr;
  }
  path_.clear();
}

}  // namespace zv
