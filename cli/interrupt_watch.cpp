#include "cli/interrupt_watch.h"

#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <map>
#include <mutex>
#include <thread>

namespace zv::cli {

namespace {

// The one watch of the process: signals are process-wide.
struct Watch {
  std::atomic<bool> interrupted{false};
  std::mutex mutex;  // guards actions and nextTicket
  std::map<int, std::function<void()>> actions;
  int nextTicket = 1;
};

Watch& watch() {
  static Watch theWatch;
  return theWatch;
}

sigset_t terminationSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGHUP);
  return set;
}

}  // namespace

void startInterruptWatch() {
  sigset_t set = terminationSignals();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  std::thread([set] {
    int signal = 0;
    if (sigwait(&set, &signal) != 0) return;
    Watch& state = watch();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.interrupted.store(true);
    for (auto& [ticket, action] : state.actions) action();
  }).detach();
}

bool interrupted() { return watch().interrupted.load(); }

int addCancelAction(std::function<void()> action) {
  Watch& state = watch();
  std::lock_guard<std::mutex> lock(state.mutex);
  if (state.interrupted.load()) action();
  const int ticket = state.nextTicket++;
  state.actions.emplace(ticket, std::move(action));
  return ticket;
}

void removeCancelAction(int ticket) {
  Watch& state = watch();
  std::lock_guard<std::mutex> lock(state.mutex);
  state.actions.erase(ticket);
}

}  // namespace zv::cli
