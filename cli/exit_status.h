// zvsa's exit statuses, as sox and opusenc use them.
#ifndef ZV_CLI_EXIT_STATUS_H
#define ZV_CLI_EXIT_STATUS_H

namespace zv::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;      // an input could not be processed
inline constexpr int kExitUsage = 2;        // bad command line
inline constexpr int kExitInterrupted = 130;  // stopped by SIGINT/SIGTERM

}  // namespace zv::cli

#endif  // ZV_CLI_EXIT_STATUS_H
