// Starting the insertion program for a component that has not been set up:
// the program runs on its own, without arguments; the caller does not wait
// for it.
#ifndef ZV_WEBBOT_INSERT_BOT_LAUNCH_H
#define ZV_WEBBOT_INSERT_BOT_LAUNCH_H

#include <string>

namespace zv::webbot {

// Starts `programPath` without arguments and returns as soon as it has
// started; the program runs on its own and leaves no child process behind
// in the caller. Returns an empty string on success, else why the program
// could not be started (missing, not executable, ...).
std::string launchDetached(const std::string& programPath);

}  // namespace zv::webbot

#endif  // ZV_WEBBOT_INSERT_BOT_LAUNCH_H
