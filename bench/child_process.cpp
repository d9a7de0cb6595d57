#include "bench/child_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <system_error>

extern char** environ;

namespace zv::bench {

Timing runDiscardingOutput(const std::vector<std::string>& args) {
  Timing t;
  if (args.empty()) return t;
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid;
  const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return t;
  int status = 0;
  struct rusage usage {};
  if (wait4(pid, &status, 0, &usage) != pid) return t;
  t.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  t.cpuSeconds = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec * 1e-6 + usage.ru_stime.tv_sec +
                 usage.ru_stime.tv_usec * 1e-6;
  t.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return t;
}

std::string commandLine(const std::vector<std::string>& args) {
  std::string line;
  for (const auto& a : args) line += (line.empty() ? "" : " ") + a;
  return line;
}

std::string workFolder(const std::string& keep, const std::string& prefix) {
  if (!keep.empty()) {
    std::error_code code;
    std::filesystem::create_directories(keep, code);
    return code ? std::string() : keep;
  }
  std::string pattern = "/tmp/" + prefix + ".XXXXXX";
  return mkdtemp(pattern.data()) ? pattern : std::string();
}

}  // namespace zv::bench
