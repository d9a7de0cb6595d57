// zvsa decode: each stream file through the engine's decode job, written as
// an 8 kHz mono 16-bit WAV file. The codec is the one whose library reports
// the header's codec identifier, unless --codec names one.
#ifndef ZV_CLI_DECODE_COMMAND_H
#define ZV_CLI_DECODE_COMMAND_H

#include "cli/cli_options.h"

namespace zv::cli {

// Returns the exit status (exit_status.h): kExitSuccess when every input was
// decoded to its end, kExitFailure otherwise (no output is left for an input
// that failed), kExitUsage for inconsistent outputs, kExitInterrupted after a
// termination signal.
int runDecodeCommand(const Options& options);

}  // namespace zv::cli

#endif  // ZV_CLI_DECODE_COMMAND_H
