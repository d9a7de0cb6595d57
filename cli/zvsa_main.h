// Everything zvsa's main() does, callable from tests: parse the command line
// once (cli_options.h), answer --help and --version, and hand the parsed
// options to the command.
#ifndef ZV_CLI_ZVSA_MAIN_H
#define ZV_CLI_ZVSA_MAIN_H

namespace zv::cli {

// argv[0] is the program; returns the exit status (exit_status.h).
int zvsaMain(int argc, char** argv);

}  // namespace zv::cli

#endif  // ZV_CLI_ZVSA_MAIN_H
