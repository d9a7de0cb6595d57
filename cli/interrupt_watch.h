// Ctrl-C and termination requests: instead of dying with half-written
// outputs and working files left in the temporary folder, zvsa cancels its
// running jobs (each cleans up as a cancelled job does) and then exits with
// status 130.
//
// start() blocks SIGINT, SIGTERM and SIGHUP in the calling thread (and so in
// every thread started after it) and waits for them on a thread of its own.
#ifndef ZV_CLI_INTERRUPT_WATCH_H
#define ZV_CLI_INTERRUPT_WATCH_H

#include <functional>

namespace zv::cli {

// Starts the watch; call once, before any other thread is started.
void startInterruptWatch();

// True once a termination signal has arrived.
bool interrupted();

// Registers a cancel action, run (on the watch thread) when a signal arrives,
// or at once when one already has. Returns a ticket for removal.
int addCancelAction(std::function<void()> action);
void removeCancelAction(int ticket);

}  // namespace zv::cli

#endif  // ZV_CLI_INTERRUPT_WATCH_H
