// Run-time loading of shared libraries, and binding of their entry points by
// ordinal.
//
// Libraries are named the way the system's tables name them ("QV80W.DLL");
// such a name maps to the shared-library file "libQV80W.so". A name that
// already ends in ".so" is taken as it is. The file is looked for
//   1. beside the module that contains this code (the loading library or
//      program),
//   2. in the installation's library folder: ../lib from the running program
//      (the build tree has the same bin/ and lib/ layout),
//   3. in the dynamic loader's normal search order.
// A name holding a '/' is a path and is loaded only from there.
//
// A library that offers ordinals exports a ZvOrdinalTable under the symbol
// ZV_ORDINAL_TABLE_SYMBOL (zv/ordinal_table.h); ordinal n is entries[n - 1].
#ifndef ZV_PLATFORM_MODULE_H
#define ZV_PLATFORM_MODULE_H

#include <string>
#include <string_view>

#include <zv/ordinal_table.h>

namespace zv {

class Module {
 public:
  Module() = default;
  ~Module();
  Module(Module&& other) noexcept;
  Module& operator=(Module&& other) noexcept;
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;

  // Loads the library. On failure the module stays empty and error() tells
  // why (the loader's message for the last place tried).
  static Module load(std::string_view libraryName);

  bool loaded() const { return handle_ != nullptr; }
  const std::string& error() const { return error_; }
  // The file that was actually loaded, or empty.
  const std::string& path() const { return path_; }

  // The entry point of ordinal n (1-based), or nullptr when the library has
  // no ordinal table, the table is shorter than n, or the slot is empty.
  ZvEntryPoint ordinal(unsigned n) const;

  // A symbol by name, or nullptr.
  void* symbol(const char* name) const;

  // Unloads the library (also done by the destructor).
  void unload();

 private:
  void* handle_ = nullptr;
  std::string path_;
  std::string error_;
};

// "QV80W.DLL" -> "libQV80W.so"; "libX.so" and paths stay as they are.
std::string sharedLibraryFileName(std::string_view libraryName);

// Folder of the module (library or program) that contains this code, with a
// trailing '/', or empty when it cannot be found.
std::string thisModuleFolder();

// Folder of the running program, with a trailing '/', or empty.
std::string programFolder();

// The installation's library folder, where the component's files lie (the
// preview images, ZvInsertBot, the web player): the library folder beside
// the running program's bin/ ("../lib" in the build tree and, by default,
// when installed), without "..", with a trailing '/'. Empty when the
// program's folder is unknown.
std::string installedLibraryFolder();

}  // namespace zv

#endif  // ZV_PLATFORM_MODULE_H
