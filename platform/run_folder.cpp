#include "platform/run_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "platform/temporary_file.h"

namespace zv {

namespace {

std::string inFolder(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (!path.empty() && path.back() != '/') path += '/';
  path.append(name);
  return path;
}

// The pid in a folder's mark, or 0 when there is none to trust: the mark must
// be a plain file of this user, holding a positive decimal number.
pid_t ownerOf(const std::string& folder) {
  const int fd = ::open(inFolder(folder, kRunFolderOwnerMark).c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return 0;
  struct stat info {};
  char text[32] = {};
  const bool plain = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid();
  const ssize_t got = plain ? ::read(fd, text, sizeof text - 1) : -1;
  ::close(fd);
  if (got <= 0) return 0;
  char* end = nullptr;
  const long pid = std::strtol(text, &end, 10);
  if (end == text || (*end != '\0' && *end != '\n') || pid <= 0) return 0;
  return static_cast<pid_t>(pid);
}

// A process that has ended but not yet been reaped by its parent.
bool isZombie(pid_t pid) {
  const int fd = ::open(("/proc/" + std::to_string(pid) + "/stat").c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char text[512] = {};
  const ssize_t got = ::read(fd, text, sizeof text - 1);
  ::close(fd);
  if (got <= 0) return false;
  // "pid (command) state ...": the command may hold anything, even ')'.
  const char* end = std::strrchr(text, ')');
  return end != nullptr && end[1] == ' ' && end[2] == 'Z';
}

bool processIsGone(pid_t pid) {
  // EPERM: the pid is alive under another user. Only ESRCH says it is gone,
  // or a zombie: it has ended and only waits to be reaped.
  if (::kill(pid, 0) != 0) return errno == ESRCH;
  return isZombie(pid);
}

bool writeMark(const std::string& folder) {
  const std::string mark = inFolder(folder, kRunFolderOwnerMark);
  const int fd = ::open(mark.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  const std::string text = std::to_string(::getpid()) + "\n";
  const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  return ::close(fd) == 0 && written;
}

}  // namespace

int removeAbandonedRunFolders(std::string_view directory) {
  const std::string folder(directory);
  DIR* listing = ::opendir(folder.c_str());
  if (listing == nullptr) return 0;
  std::vector<std::string> abandoned;
  const std::size_t prefixLength = std::strlen(kRunFolderPrefix);
  for (const dirent* entry; (entry = ::readdir(listing)) != nullptr;) {
    if (std::strncmp(entry->d_name, kRunFolderPrefix, prefixLength) != 0) continue;
    const std::string candidate = inFolder(folder, entry->d_name);
    struct stat info {};
    // lstat: a link of that name is not a folder of ours, whatever it points at.
    if (::lstat(candidate.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid())
      continue;
    const pid_t owner = ownerOf(candidate);
    if (owner != 0 && processIsGone(owner)) abandoned.push_back(candidate);
  }
  ::closedir(listing);
  int removed = 0;
  for (const std::string& candidate : abandoned) {
    std::error_code error;
    // remove_all does not follow links inside the folder.
    std::filesystem::remove_all(candidate, error);
    if (!error) ++removed;
  }
  return removed;
}

std::unique_ptr<RunFolder> RunFolder::create(std::string& error) {
  const std::string directory = temporaryDirectory();
  removeAbandonedRunFolders(directory);
  std::string pattern = directory + kRunFolderPrefix + "XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) {
    error = "cannot create a folder in " + directory + ": " + std::strerror(errno);
    return nullptr;
  }
  std::unique_ptr<RunFolder> folder(new RunFolder(pattern));
  if (!writeMark(pattern)) {
    error = "cannot write in the folder " + pattern + ": " + std::strerror(errno ? errno : EIO);
    return nullptr;  // the destructor removes the folder again
  }
  return folder;
}

RunFolder::~RunFolder() {
  if (handed_over_) return;
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void RunFolder::handOver(const std::string& keep) {
  const std::filesystem::path kept(keep);
  if (kept.parent_path() != std::filesystem::path(path_)) return;
  std::error_code error;
  std::vector<std::filesystem::path> others;
  for (const auto& entry : std::filesystem::directory_iterator(path_, error))
    if (entry.path() != kept) others.push_back(entry.path());
  // The mark last: while it is there, a crash now still leaves a folder the
  // next run may clear.
  const std::filesystem::path mark = inFolder(path_, kRunFolderOwnerMark);
  for (const auto& other : others)
    if (other != mark) std::filesystem::remove_all(other, error);
  std::filesystem::remove(mark, error);
  handed_over_ = true;
}

}  // namespace zv
