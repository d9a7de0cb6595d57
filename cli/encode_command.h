// zvsa encode: each input through the engine's input preparation and encode
// job, as the wizard runs them, into a .zvsa stream file.
#ifndef ZV_CLI_ENCODE_COMMAND_H
#define ZV_CLI_ENCODE_COMMAND_H

#include "cli/cli_options.h"

namespace zv::cli {

// Returns the exit status (exit_status.h): kExitSuccess when every input was
// encoded, kExitFailure otherwise, kExitUsage for inconsistent outputs,
// kExitInterrupted after a termination signal.
int runEncodeCommand(const Options& options);

}  // namespace zv::cli

#endif  // ZV_CLI_ENCODE_COMMAND_H
