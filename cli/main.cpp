// zvsa: the command-line face of the encoding engine. Parses the command
// line (cli_options) and hands over to the command.
#include <cstdio>
#include <string>

#include "cli/cli_options.h"
#include "cli/decode_command.h"
#include "cli/encode_command.h"
#include "cli/exit_status.h"
#include "cli/info_command.h"
#include "cli/interrupt_watch.h"
#include "cli/markup_command.h"
#include "encoder/encoder_version.h"

namespace {

int usageError(zv::cli::Command command, const std::string& error) {
  const std::string name = zv::cli::commandName(command);
  const std::string who = name.empty() ? "zvsa" : "zvsa " + name;
  std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", who.c_str(), error.c_str(), who.c_str());
  return zv::cli::kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace zv::cli;
  const ParseResult parsed = parseCommandLine(argc, argv);
  const Options& options = parsed.options;
  if (options.command == Command::Markup) {
    // The markup command parses its own options, from its name on.
    int at = 1;
    while (at < argc && std::string(argv[at]) != "markup") ++at;
    return runMarkupCommand(argc - at, argv + at);
  }
  if (argc < 2) {
    std::fputs(usageText(Command::None).c_str(), stderr);
    return kExitUsage;
  }
  if (!parsed.error.empty()) return usageError(options.command, parsed.error);
  if (options.help) {
    std::fputs(usageText(options.command).c_str(), stdout);
    return kExitSuccess;
  }
  if (options.version) {
    const std::uint32_t version = zv::encoderVersionWord();
    std::printf("zvsa %u.%u (Z&V Tavelworks encoding engine)\n", version >> 16, version & 0xFFFF);
    return kExitSuccess;
  }

  startInterruptWatch();
  switch (options.command) {
    case Command::Encode: return runEncodeCommand(options);
    case Command::Decode: return runDecodeCommand(options);
    case Command::Info: return runInfoCommand(options);
    case Command::Markup:
    case Command::None: break;
  }
  return usageError(Command::None, "no command given");
}
