// zvsa's command line: what it asks for (Options), parsed here and nowhere
// else, from the option table (option_table.h), which also gives the help.
//
//   zvsa encode IN... (-o OUT.zvsa | --outdir DIR) [options]
//   zvsa decode IN.zvsa... (-o OUT.wav | --outdir DIR) [options]
//   zvsa info IN.zvsa... [options]
//   zvsa markup CLIP [options]
//   zvsa play CLIP.zvsa... [options]
//   zvsa --help | --version
// The command comes first; options may come before, between or after the
// files; "--" ends them. A long option takes its value as "--name value" or
// "--name=value", a short one as "-n value" or "-nvalue".
#ifndef ZV_CLI_CLI_OPTIONS_H
#define ZV_CLI_CLI_OPTIONS_H

#include <optional>
#include <string>
#include <vector>

#include "cli/markup_settings.h"

namespace zv::cli {

// None stands for the program itself, before or without a command.
enum class Command { None, Encode, Decode, Info, Markup, Play };

struct Options {
  Command command = Command::None;
  bool help = false;
  bool version = false;
  std::vector<std::string> inputs;  // the files named (markup: its one clip)
  std::string output;               // -o: the one output file (markup: "" is stdout)
  // encode and decode (--codec and -q also play)
  std::string outdir;             // --outdir: outputs named after the inputs
  std::optional<int> codecIndex;  // --codec, as a codec table row
  unsigned jobs = 1;              // -j
  bool quiet = false;             // -q
  MarkupSettings markup;
};

struct ParseResult {
  Options options;
  std::string error;  // empty when the command line is good
};

// Parses argv[1..argc-1]. An error names the problem in one line, without
// the program name.
ParseResult parseCommandLine(int argc, char** argv);

// The command's name as typed ("encode"), or "" for none.
const char* commandName(Command command);

// Full help: of one command, or of the program for Command::None.
std::string usageText(Command command);

// Prints "zvsa[ COMMAND]: <error>" and where to find help to stderr, and
// returns kExitUsage.
int reportUsageError(Command command, const std::string& error);

}  // namespace zv::cli

#endif  // ZV_CLI_CLI_OPTIONS_H
