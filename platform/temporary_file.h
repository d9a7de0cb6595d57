// Unique temporary files: the stand-in for asking the system for its
// temporary directory and a unique file name in it.
//
// The directory is $TMPDIR when it is set and not empty, else "/tmp". Names
// are made by mkstemp from "<dir>/<prefix>XXXXXX", so the file exists (empty,
// mode 0600) when the call returns and no other caller can get the same name.
#ifndef ZV_PLATFORM_TEMPORARY_FILE_H
#define ZV_PLATFORM_TEMPORARY_FILE_H

#include <string>
#include <string_view>

namespace zv {

// The temporary directory, with a trailing '/'. Read from the environment on
// every call.
std::string temporaryDirectory();

// Creates an empty file with a unique name starting with `prefix` in
// `directory` (a folder path; a trailing '/' is optional). Returns its full
// path, or an empty string when it cannot be created (errno tells why).
std::string createUniqueFile(std::string_view directory, std::string_view prefix);

// createUniqueFile() in temporaryDirectory().
std::string createTemporaryFile(std::string_view prefix);

}  // namespace zv

#endif  // ZV_PLATFORM_TEMPORARY_FILE_H
