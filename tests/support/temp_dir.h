// A fresh private folder for a test, under $TMPDIR (default /tmp).
#ifndef ZV_TESTS_SUPPORT_TEMP_DIR_H
#define ZV_TESTS_SUPPORT_TEMP_DIR_H

#include <string>
#include <vector>

namespace zv::test {

// A fresh private folder, removed with its content when destroyed.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }
  // Names of the entries in the folder, sorted.
  std::vector<std::string> entries() const;

 private:
  std::string path_;
};

}  // namespace zv::test

#endif  // ZV_TESTS_SUPPORT_TEMP_DIR_H
