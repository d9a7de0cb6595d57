// zvsa markup: the applet markup (or the component's WEBBOT text) for a clip,
// from the same settings the wizard's applet page collects. Its options are
// rows of the option table (option_table.cpp); settings not given take the
// values a fresh settings store gives the wizard, and the width, unless
// given, is the height times the button count, at most 32767.
#ifndef ZV_CLI_MARKUP_COMMAND_H
#define ZV_CLI_MARKUP_COMMAND_H

#include "cli/cli_options.h"

namespace zv::cli {

// Writes the text for options.inputs[0] (the clip, checked by the parser)
// and options.markup to standard output, or to the -o file, replaced only
// when complete; problems go to standard error. Returns kExitSuccess, or
// kExitFailure when the output cannot be written.
int runMarkupCommand(const Options& options);

}  // namespace zv::cli

#endif  // ZV_CLI_MARKUP_COMMAND_H
