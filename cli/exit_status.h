// zvsa's exit statuses, as sox and opusenc use them: the one place they are
// defined, with the words the program's help gives them.
#ifndef ZV_CLI_EXIT_STATUS_H
#define ZV_CLI_EXIT_STATUS_H

namespace zv::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;        // an input could not be processed
inline constexpr int kExitUsage = 2;          // bad command line
inline constexpr int kExitInterrupted = 130;  // stopped by SIGINT, SIGTERM or SIGHUP

struct ExitStatusMeaning {
  int status;
  const char* meaning;
};

// Every status zvsa exits with, for the help text.
inline constexpr ExitStatusMeaning kExitStatusMeanings[] = {
    {kExitSuccess, "success"},
    {kExitFailure, "a file could not be processed, or the output not written"},
    {kExitUsage, "a bad command line"},
    {kExitInterrupted, "stopped by Ctrl-C or a termination signal"},
};

}  // namespace zv::cli

#endif  // ZV_CLI_EXIT_STATUS_H
