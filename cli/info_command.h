// zvsa info: the header fields of stream files in words, whether they agree
// with the file (data bytes, check word), and the frames counted by walking
// them with the codec's decoder. Output on stdout; problems on stderr.
#ifndef ZV_CLI_INFO_COMMAND_H
#define ZV_CLI_INFO_COMMAND_H

#include "cli/cli_options.h"

namespace zv::cli {

// Returns kExitSuccess when every file is a consistent stream file whose
// frames decode to its end, kExitFailure otherwise.
int runInfoCommand(const Options& options);

}  // namespace zv::cli

#endif  // ZV_CLI_INFO_COMMAND_H
