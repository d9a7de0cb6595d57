#include "tests/support/run_program.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <stdexcept>

namespace zv::test {

namespace {

#ifdef ZV_TEST_PROGRAM_EMULATOR
// The ELF machine number of a program file, 0 when it is not ELF (a script).
uint16_t elfMachine(const char* path) {
  unsigned char header[20] = {};
  FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return 0;
  const size_t got = std::fread(header, 1, sizeof header, file);
  std::fclose(file);
  if (got != sizeof header || header[0] != 0x7f || header[1] != 'E' || header[2] != 'L' ||
      header[3] != 'F')
    return 0;
  return static_cast<uint16_t>(header[18] | header[19] << 8);  // e_machine, little-endian
}
#endif

// A cross build's tests run under the emulator (CMAKE_CROSSCOMPILING_EMULATOR,
// ZV_TEST_PROGRAM_EMULATOR), and so must the programs of the build that they
// start, which the machine cannot run by itself; the machine's own programs
// (python3) start as they are. Empty when the program starts as it is.
std::string emulatorFor(const std::string& program) {
#ifdef ZV_TEST_PROGRAM_EMULATOR
  // Under the emulator /proc/self/exe is this test program itself.
  const uint16_t own = elfMachine("/proc/self/exe");
  if (own != 0 && elfMachine(program.c_str()) == own) return ZV_TEST_PROGRAM_EMULATOR;
#else
  (void)program;
#endif
  return {};
}

}  // namespace

ProgramRun runProgram(const std::string& program, const std::vector<std::string>& arguments,
                      int timeLimitSeconds) {
  int outPipe[2], errPipe[2];
  if (pipe(outPipe) != 0 || pipe(errPipe) != 0) throw std::runtime_error("pipe");
  const std::string emulator = emulatorFor(program);
  const pid_t child = fork();
  if (child < 0) throw std::runtime_error("fork");
  if (child == 0) {
    const int devNull = open("/dev/null", O_RDONLY);
    dup2(devNull, STDIN_FILENO);
    dup2(outPipe[1], STDOUT_FILENO);
    dup2(errPipe[1], STDERR_FILENO);
    close(outPipe[0]);
    close(errPipe[0]);
    std::vector<char*> argv;
    if (!emulator.empty()) argv.push_back(const_cast<char*>(emulator.c_str()));
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(outPipe[1]);
  close(errPipe[1]);

  ProgramRun run;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeLimitSeconds);
  pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
  std::string* sinks[2] = {&run.out, &run.err};
  int open = 2;
  while (open > 0) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      run.timedOut = true;
      kill(child, SIGKILL);
      break;
    }
    if (poll(fds, 2, static_cast<int>(left.count())) < 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      char buffer[4096];
      const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, static_cast<std::size_t>(n));
      } else {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
  for (pollfd& fd : fds)
    if (fd.fd >= 0) close(fd.fd);
  int status = 0;
  waitpid(child, &status, 0);
  if (WIFEXITED(status)) run.exitStatus = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) run.signal = WTERMSIG(status);
  return run;
}

ProgramRun runProgram(const std::vector<std::string>& argv, int timeLimitSeconds) {
  if (argv.empty()) throw std::invalid_argument("runProgram: no program");
  return runProgram(argv.front(), {argv.begin() + 1, argv.end()}, timeLimitSeconds);
}

}  // namespace zv::test
