// zvsa markup: the applet markup (or the component's WEBBOT text) for a clip,
// from the same settings the wizard's applet page collects.
//
//   zvsa markup CLIP [--buttons N] [--autoplay 0|1] [--visible 0|1]
//                    [--count N|-1] [--height PX] [--width PX] [--class NAME]
//                    [--codebase PATH] [--tag APPLET|OBJECT] [--align A]
//                    [--body TEXT] [--attributes TEXT] [--crlf]
//                    [--webbot [--preview-image URL]] [-o FILE] [-h]
//
// Settings that are not given take the values a fresh settings store gives
// the wizard (webbot/markup/applet_defaults.h); the width, unless given, is
// the height times the button count, at most 32767.
#ifndef ZV_CLI_MARKUP_COMMAND_H
#define ZV_CLI_MARKUP_COMMAND_H

namespace zv::cli {

// Runs the command. argv[0] is "markup"; the other arguments are the clip
// and the options, in any order ("--" ends the options; "--name=value" and
// "--name value" are both accepted). Writes the text to standard output (or
// the -o file, replaced only when complete), help to standard output, and
// problems to standard error.
// Returns 0 on success, 1 when the output cannot be written, 2 for a bad
// command line.
int runMarkupCommand(int argc, char** argv);

}  // namespace zv::cli

#endif  // ZV_CLI_MARKUP_COMMAND_H
