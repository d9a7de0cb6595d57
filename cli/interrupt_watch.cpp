#include "cli/interrupt_watch.h"

#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <map>
#include <mutex>
#include <thread>

namespace zv::cli {

namespace {

std::atomic<bool> g_interrupted{false};
std::mutex g_mutex;
std::map<int, std::function<void()>> g_actions;
int g_next_ticket = 1;

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
    std::lock_guard<std::mutex> lock(g_mutex);
    g_interrupted.store(true);
    for (auto& [ticket, action] : g_actions) action();
  }).detach();
}

bool interrupted() { return g_interrupted.load(); }

int addCancelAction(std::function<void()> action) {
  std::lock_guard<std::mutex> lock(g_mutex);
  if (g_interrupted.load()) action();
  const int ticket = g_next_ticket++;
  g_actions.emplace(ticket, std::move(action));
  return ticket;
}

void removeCancelAction(int ticket) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_actions.erase(ticket);
}

}  // namespace zv::cli
