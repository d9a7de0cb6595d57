#include "webbot/insert_bot_launch.h"

#include <spawn.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;

namespace zv::webbot {

// The program is started by a short-lived intermediate process that exits
// at once, so the program is adopted by the system and nobody needs to
// collect it later (the host may unload this library long before the
// program ends). The intermediate reports posix_spawn's result through a
// pipe.
std::string launchDetached(const std::string& programPath) {
  if (programPath.empty()) return "the component's folder could not be found";
  if (access(programPath.c_str(), X_OK) != 0) return std::strerror(errno);

  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return std::strerror(errno);
  const pid_t intermediate = fork();
  if (intermediate < 0) {
    const int error = errno;
    close(report[0]);
    close(report[1]);
    return std::strerror(error);
  }
  if (intermediate == 0) {
    char* const arguments[] = {const_cast<char*>(programPath.c_str()), nullptr};
    pid_t program = 0;
    const int error = posix_spawn(&program, programPath.c_str(), nullptr, nullptr, arguments, environ);
    (void)!write(report[1], &error, sizeof error);
    _exit(0);
  }
  close(report[1]);
  int error = 0;
  ssize_t got;
  do {
    got = read(report[0], &error, sizeof error);
  } while (got < 0 && errno == EINTR);
  close(report[0]);
  int status = 0;
  while (waitpid(intermediate, &status, 0) < 0 && errno == EINTR) {
  }
  if (got != static_cast<ssize_t>(sizeof error)) return "the program could not be started";
  return error == 0 ? std::string() : std::strerror(error);
}

}  // namespace zv::webbot
