// zvsa encode: each input through the engine's input preparation and encode
// job, as the wizard runs them, into a .zvsa stream file.
#ifndef ZV_CLI_ENCODE_COMMAND_H
#define ZV_CLI_ENCODE_COMMAND_H

#include "cli/cli_options.h"

namespace zv::cli {

// Returns the exit status: 0 when every input was encoded, 1 otherwise, 2
// for inconsistent outputs, 130 when interrupted.
int runEncodeCommand(const Options& options);

}  // namespace zv::cli

#endif  // ZV_CLI_ENCODE_COMMAND_H
