// zvsa's command line: the options of each command, declared once with
// their help, parsed here and nowhere else.
//
//   zvsa encode IN... (-o OUT.zvsa | --outdir DIR) [--codec C] [-j N] [-q]
//   zvsa decode IN.zvsa... (-o OUT.wav | --outdir DIR) [--codec C] [-j N] [-q]
//   zvsa info IN.zvsa...
//   zvsa markup CLIP ...        (parsed by the markup command itself)
//   zvsa --help | --version
// Options may come before, between or after the inputs; "--" ends them.
#ifndef ZV_CLI_CLI_OPTIONS_H
#define ZV_CLI_CLI_OPTIONS_H

#include <optional>
#include <string>
#include <vector>

namespace zv::cli {

enum class Command { None, Encode, Decode, Info, Markup };

struct Options {
  Command command = Command::None;
  bool help = false;
  bool version = false;
  bool quiet = false;
  std::vector<std::string> inputs;
  std::string output;              // -o: the one output file
  std::string outdir;              // --outdir: outputs named after the inputs
  std::optional<int> codecIndex;   // --codec, as a codec table row
  unsigned jobs = 1;               // -j
};

struct ParseResult {
  Options options;
  std::string error;  // empty when the command line is good
};

inline constexpr unsigned kMaxJobs = 64;

// Parses argv[1..argc-1]. For "markup" only the command is recognised; its
// arguments are left to the markup command. An error names the problem in
// one line, without the program name.
ParseResult parseCommandLine(int argc, char** argv);

// The command's name as typed ("encode"), or "" for none.
const char* commandName(Command command);

// Full help: of one command, or of the program for Command::None.
std::string usageText(Command command);

// The codec table row a --codec value names ("speech", "music", or a row
// number); nothing when it names none.
std::optional<int> codecIndexFromName(const std::string& name);

}  // namespace zv::cli

#endif  // ZV_CLI_CLI_OPTIONS_H
