#include "run_program.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

extern char** environ;

namespace zv::testing {

namespace {

std::string readAll(int fd) {
  std::string text;
  char buffer[4096];
  lseek(fd, 0, SEEK_SET);
  for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, n);
  return text;
}

// An unnamed temporary file for one output stream (no pipe, so a program
// that writes much cannot block on a full pipe).
int temporaryFile() {
  const char* dir = std::getenv("TMPDIR");
  std::string pattern = std::string(dir && *dir ? dir : "/tmp") + "/zvtest-run-XXXXXX";
  const int fd = mkstemp(pattern.data());
  if (fd >= 0) unlink(pattern.c_str());
  return fd;
}

}  // namespace

ProgramRun runProgram(const std::vector<std::string>& argv) {
  ProgramRun run;
  const int out = temporaryFile();
  const int err = temporaryFile();
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out, 1);
  posix_spawn_file_actions_adddup2(&actions, err, 2);
  pid_t pid;
  if (out >= 0 && err >= 0 &&
      posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) == 0) {
    int status = 0;
    pid_t waited;
    while ((waited = waitpid(pid, &status, 0)) < 0 && errno == EINTR) {
    }
    if (waited == pid && WIFEXITED(status)) run.status = WEXITSTATUS(status);
    run.out = readAll(out);
    run.err = readAll(err);
  }
  posix_spawn_file_actions_destroy(&actions);
  if (out >= 0) close(out);
  if (err >= 0) close(err);
  return run;
}

}  // namespace zv::testing
