#include "cli/cli_options.h"

#include <cstring>

#include "encoder/codec_table.h"

namespace zv::cli {

namespace {

struct OptionSpec {
  const char* shortName;  // "-o", or nullptr
  const char* longName;   // "--output"
  bool takesValue;
  bool forConversion;     // encode and decode only
};

constexpr OptionSpec kOptions[] = {
    {"-h", "--help", false, false},
    {"-q", "--quiet", false, false},
    {nullptr, "--version", false, false},
    {"-o", "--output", true, true},
    {nullptr, "--outdir", true, true},
    {nullptr, "--codec", true, true},
    {"-j", "--jobs", true, true},
};

Command commandFromName(const std::string& name) {
  if (name == "encode") return Command::Encode;
  if (name == "decode") return Command::Decode;
  if (name == "info") return Command::Info;
  if (name == "markup") return Command::Markup;
  return Command::None;
}

std::optional<unsigned> parseJobs(const std::string& text) {
  if (text.empty() || text.size() > 3) return std::nullopt;
  unsigned value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  if (value < 1 || value > kMaxJobs) return std::nullopt;
  return value;
}

// Applies one option with its value; returns an error text or "".
std::string apply(const OptionSpec& option, const std::string& value, Options& options) {
  const std::string name = option.longName;
  if (name == "--help") options.help = true;
  else if (name == "--quiet") options.quiet = true;
  else if (name == "--version") options.version = true;
  else if (name == "--output") {
    if (value.empty()) return "the output name is empty";
    options.output = value;
  } else if (name == "--outdir") {
    if (value.empty()) return "the output folder name is empty";
    options.outdir = value;
  } else if (name == "--codec") {
    options.codecIndex = codecIndexFromName(value);
    if (!options.codecIndex) return "unknown codec '" + value + "' (use speech, music or 0..2)";
  } else if (name == "--jobs") {
    const auto jobs = parseJobs(value);
    if (!jobs) return "the number of jobs must be 1.." + std::to_string(kMaxJobs) + ", not '" + value + "'";
    options.jobs = *jobs;
  }
  return {};
}

// The option an argument names: exact short or long name, a long name with
// "=value", or a short name with its value attached ("-j4").
const OptionSpec* match(const std::string& argument, std::optional<std::string>& attached) {
  for (const OptionSpec& option : kOptions) {
    const std::string longName = option.longName;
    if (argument == longName) return &option;
    if (option.takesValue && argument.rfind(longName + "=", 0) == 0) {
      attached = argument.substr(longName.size() + 1);
      return &option;
    }
    if (option.shortName) {
      const std::string shortName = option.shortName;
      if (argument == shortName) return &option;
      if (option.takesValue && argument.size() > 2 && argument.rfind(shortName, 0) == 0) {
        attached = argument.substr(2);
        return &option;
      }
    }
  }
  return nullptr;
}

std::string checkConversion(const Options& options) {
  const char* outputKind = options.command == Command::Encode ? "OUT.zvsa" : "OUT.wav";
  if (options.inputs.empty()) return "no input file given";
  if (!options.output.empty() && !options.outdir.empty()) return "give either -o or --outdir, not both";
  if (options.output.empty() && options.outdir.empty())
    return std::string("give -o ") + outputKind + " or --outdir DIR";
  if (!options.output.empty() && options.inputs.size() > 1)
    return "-o takes one input; use --outdir DIR for several";
  return {};
}

}  // namespace

const char* commandName(Command command) {
  switch (command) {
    case Command::Encode: return "encode";
    case Command::Decode: return "decode";
    case Command::Info: return "info";
    case Command::Markup: return "markup";
    case Command::None: break;
  }
  return "";
}

std::optional<int> codecIndexFromName(const std::string& name) {
  if (name == "speech") return kSpeechCodecIndex;
  if (name == "music") return kMusicCodecIndex;
  if (name.size() == 1 && name[0] >= '0' && name[0] <= '9') {
    const int index = name[0] - '0';
    if (codecTableRow(kCodecTable, index)) return index;
  }
  return std::nullopt;
}

ParseResult parseCommandLine(int argc, char** argv) {
  ParseResult result;
  Options& options = result.options;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i] ? argv[i] : "";
    if (options.command == Command::Markup) break;  // the rest is the markup command's
    if (!optionsEnded && argument == "--") {
      optionsEnded = true;
      continue;
    }
    if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
      std::optional<std::string> attached;
      const OptionSpec* option = match(argument, attached);
      if (!option) {
        result.error = "unknown option '" + argument + "'";
        return result;
      }
      if (option->forConversion && options.command != Command::Encode &&
          options.command != Command::Decode) {
        result.error = std::string("option '") + argument + "' is for encode and decode only";
        return result;
      }
      std::string value;
      if (option->takesValue) {
        if (attached) {
          value = *attached;
        } else if (i + 1 < argc) {
          value = argv[++i];
        } else {
          result.error = "option '" + argument + "' needs a value";
          return result;
        }
      }
      result.error = apply(*option, value, options);
      if (!result.error.empty()) return result;
      continue;
    }
    if (options.command == Command::None) {
      options.command = commandFromName(argument);
      if (options.command == Command::None) {
        result.error = "unknown command '" + argument + "'";
        return result;
      }
      continue;
    }
    options.inputs.push_back(argument);
  }

  if (options.help || options.version || options.command == Command::Markup) return result;
  if (options.command == Command::None) {
    result.error = "no command given";
    return result;
  }
  if (options.command == Command::Info) {
    if (options.inputs.empty()) result.error = "no stream file given";
    return result;
  }
  result.error = checkConversion(options);
  return result;
}

std::string usageText(Command command) {
  const std::string conversionOptions =
      "  -o, --output FILE    the output file (one input only)\n"
      "      --outdir DIR     write each output in DIR, named after its input\n"
      "  -j, --jobs N         run up to N files at once (1..64, default 1)\n"
      "  -q, --quiet          no progress bar and no summary\n"
      "  -h, --help           show this help\n";
  switch (command) {
    case Command::Encode:
      return "Usage: zvsa encode IN... (-o OUT.zvsa | --outdir DIR) [--codec CODEC] [-j N] [-q]\n"
             "Compress PCM WAV files (any rate, channels and width) and AU files (mono\n"
             "8-bit linear, 16-bit linear, mu-law or A-law) into .zvsa stream files.\n\n"
             "      --codec CODEC    music (default; 16 kbit/s, 'Highest quality sound'),\n"
             "                       speech (8 kbit/s, 'Medium quality sound'),\n"
             "                       or a codec table row 0..2\n" +
             conversionOptions;
    case Command::Decode:
      return "Usage: zvsa decode IN.zvsa... (-o OUT.wav | --outdir DIR) [--codec CODEC] [-j N] [-q]\n"
             "Decode .zvsa stream files to 8 kHz mono 16-bit WAV files.\n\n"
             "      --codec CODEC    the codec to decode with (speech, music or 0..2);\n"
             "                       by default the one the header's codec identifier names\n" +
             conversionOptions;
    case Command::Info:
      return "Usage: zvsa info IN.zvsa...\n"
             "Show the header of .zvsa stream files in words, check it, and count the frames.\n\n"
             "  -h, --help           show this help\n";
    case Command::Markup:
    case Command::None: break;
  }
  return "Usage: zvsa COMMAND [OPTIONS] FILE...\n"
         "Compress sound into .zvsa stream clips for web pages, and back.\n\n"
         "Commands:\n"
         "  encode IN... -o OUT.zvsa    compress WAV or AU files (see zvsa encode --help)\n"
         "  decode IN.zvsa -o OUT.wav   decode stream files to WAV\n"
         "  info IN.zvsa...             show and check stream file headers\n"
         "  markup CLIP                 print the applet markup for a clip\n\n"
         "Options:\n"
         "  -h, --help           show this help (with a command: that command's help)\n"
         "      --version        show the version\n\n"
         "Exit status: 0 on success, 1 when a file could not be processed,\n"
         "2 for a bad command line.\n";
}

}  // namespace zv::cli
