// A private folder for one run of a program under the temporary directory:
// "<tmp>/ZVSA-run-XXXXXX", made by mkdtemp (mode 0700, a name nobody else
// can get), so that two runs, of one user or of two, never share a file
// name: each run's working files and finished clip lie in its own folder.
//
// While the run lasts, the folder holds the mark "owner.pid" with the pid of
// the process running it. A folder whose owner died (a crash, a kill) keeps
// its mark; the next run removes it, but only a folder of the current user
// whose owner is no longer alive, never a live run's nor someone else's.
//
// The object removes its folder and everything in it when destroyed (a
// cancelled run leaves nothing), unless handOver() gave the folder to the
// caller, together with the one file the caller takes.
#ifndef ZV_PLATFORM_RUN_FOLDER_H
#define ZV_PLATFORM_RUN_FOLDER_H

#include <memory>
#include <string>
#include <string_view>

namespace zv {

inline constexpr const char* kRunFolderPrefix = "ZVSA-run-";
inline constexpr const char* kRunFolderOwnerMark = "owner.pid";

class RunFolder {
 public:
  // Removes the abandoned run folders in the temporary directory, then makes
  // a new one marked with this process's pid. Nothing when it cannot be made
  // (`error` says why).
  static std::unique_ptr<RunFolder> create(std::string& error);

  ~RunFolder();
  RunFolder(const RunFolder&) = delete;
  RunFolder& operator=(const RunFolder&) = delete;

  // The folder's path, without a trailing '/'.
  const std::string& path() const { return path_; }

  // Keeps the folder for the caller with the file `keep` in it: everything
  // else, the mark included, is removed now, and nothing when this object
  // goes. A `keep` outside the folder keeps nothing: the folder is removed.
  void handOver(const std::string& keep);

 private:
  explicit RunFolder(std::string path) : path_(std::move(path)) {}
  std::string path_;
  bool handed_over_ = false;
};

// Removes every "<directory>/ZVSA-run-*" folder that belongs to this user
// and whose mark names a process that no longer exists. Returns how many
// were removed. A folder without a readable mark is left alone: it may be
// a run being set up this moment, or one handed over to its caller.
int removeAbandonedRunFolders(std::string_view directory);

}  // namespace zv

#endif  // ZV_PLATFORM_RUN_FOLDER_H
