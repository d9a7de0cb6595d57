// Reading a whole file into memory, for files that are small by nature (a
// web page, a file copied into a web). Sound never goes through here: it is
// read and written block by block.
#ifndef ZV_PLATFORM_WHOLE_FILE_H
#define ZV_PLATFORM_WHOLE_FILE_H

#include <string>

namespace zv {

// The bytes of the file at `path` in `bytes`. False, with the system's
// reason in `why`, when it cannot be opened or read.
bool readWholeFile(const std::string& path, std::string& bytes, std::string& why);

}  // namespace zv

#endif  // ZV_PLATFORM_WHOLE_FILE_H
