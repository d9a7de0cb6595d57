#include "cli/zvsa_main.h"

#include <cstdint>
#include <cstdio>
#include <string>

#include "cli/cli_options.h"
#include "cli/decode_command.h"
#include "cli/encode_command.h"
#include "cli/exit_status.h"
#include "cli/info_command.h"
#include "cli/interrupt_watch.h"
#include "cli/markup_command.h"
#include "cli/play_command.h"
#include "encoder/encoder_version.h"

namespace zv::cli {

int zvsaMain(int argc, char** argv) {
  if (argc < 2) {
    std::fputs(usageText(Command::None).c_str(), stderr);
    return kExitUsage;
  }
  const ParseResult parsed = parseCommandLine(argc, argv);
  const Options& options = parsed.options;
  if (!parsed.error.empty()) return reportUsageError(options.command, parsed.error);
  if (options.help) {
    std::fputs(usageText(options.command).c_str(), stdout);
    return kExitSuccess;
  }
  if (options.version) {
    const std::uint32_t version = encoderVersionWord();
    std::printf("zvsa %u.%u (Z&V Tavelworks encoding engine)\n", version >> 16, version & 0xFFFF);
    return kExitSuccess;
  }

  switch (options.command) {
    case Command::Encode:
      startInterruptWatch();
      return runEncodeCommand(options);
    case Command::Decode:
      startInterruptWatch();
      return runDecodeCommand(options);
    case Command::Info: return runInfoCommand(options);
    case Command::Markup: return runMarkupCommand(options);
    case Command::Play: return runPlayCommand(options);
    case Command::None: break;
  }
  return reportUsageError(Command::None, "no command given");
}

}  // namespace zv::cli
