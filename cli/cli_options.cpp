#include "cli/cli_options.h"

#include <cstdio>
#include <optional>
#include <vector>

#include "cli/exit_status.h"
#include "cli/option_table.h"

namespace zv::cli {

namespace {

// Help lines: option names in the first column, their text from this
// column on; command names and exit statuses are shorter.
constexpr std::size_t kHelpColumn = 28;
constexpr std::size_t kListColumn = 12;

bool takes(const OptionSpec& option, Command command) {
  return (option.commands & commandBit(command)) != 0;
}

bool named(const OptionSpec& option, const std::string& name) {
  return name == option.longName || (option.shortName && name == option.shortName);
}

// The row of `name` for `command`, or nullptr.
const OptionSpec* findOption(const std::string& name, Command command) {
  for (const OptionSpec& option : optionTable())
    if (takes(option, command) && named(option, name)) return &option;
  return nullptr;
}

// The commands that take `name` in any row, as words: "encode and decode",
// "markup". Empty when no row has the name.
std::string commandsTaking(const std::string& name) {
  CommandSet commands = 0;
  for (const OptionSpec& option : optionTable())
    if (named(option, name)) commands |= option.commands;
  std::vector<std::string> names;
  for (const CommandEntry& entry : commandTable())
    if ((commands & commandBit(entry.command)) && entry.name[0]) names.push_back(entry.name);
  std::string words;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) words += i + 1 == names.size() ? " and " : ", ";
    words += names[i];
  }
  return words;
}

Command commandFromName(const std::string& name) {
  for (const CommandEntry& entry : commandTable())
    if (entry.name[0] && name == entry.name) return entry.command;
  return Command::None;
}

// One option argument (it starts with '-'); argv[i + 1] is its value when it
// takes one and has none attached. Returns "" or the error.
std::string readOption(int argc, char** argv, int& i, Options& options) {
  const std::string argument = argv[i];
  std::string name = argument;
  std::optional<std::string> attached;
  const std::size_t equals = argument.find('=');
  if (argument.rfind("--", 0) == 0 && equals != std::string::npos) {
    name = argument.substr(0, equals);
    attached = argument.substr(equals + 1);
  }
  const OptionSpec* option = findOption(name, options.command);
  if (!option && argument.size() > 2 && argument[1] != '-') {
    // "-j4": a short option with its value attached.
    const OptionSpec* shortOption = findOption(argument.substr(0, 2), options.command);
    if (shortOption && shortOption->valueName) {
      option = shortOption;
      name = argument.substr(0, 2);
      attached = argument.substr(2);
    }
  }
  if (!option) {
    const std::string owners = commandsTaking(name);
    if (owners.empty()) return "unknown option '" + name + "'";
    return "option '" + name + "' is for " + owners + " only";
  }
  if (!option->valueName) {
    if (attached) return "option '" + name + "' takes no value";
    return option->apply(options, {});
  }
  if (!attached) {
    if (i + 1 >= argc) return "option '" + name + "' needs a value (" + option->valueName + ")";
    attached = argv[++i];
  }
  return option->apply(options, *attached);
}

// "  -o, --output FILE" padded to the help column (or on a line of its own
// when longer), then the help and the default, continuation lines indented.
std::string optionHelp(const OptionSpec& option) {
  std::string text = "  ";
  text += option.shortName ? std::string(option.shortName) + ", " : "    ";
  text += option.longName;
  if (option.valueName) text += std::string(" ") + option.valueName;
  const std::string indent(kHelpColumn, ' ');
  if (text.size() < kHelpColumn)
    text.resize(kHelpColumn, ' ');
  else
    text += "\n" + indent;
  for (const char* c = option.help; *c; ++c) {
    text += *c;
    if (*c == '\n') text += indent;
  }
  if (option.defaultText) text += "\n" + indent + "(default: " + option.defaultText() + ")";
  return text + "\n";
}

}  // namespace

const char* commandName(Command command) { return commandEntry(command).name; }

ParseResult parseCommandLine(int argc, char** argv) {
  ParseResult result;
  Options& options = result.options;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i] ? argv[i] : "";
    if (!optionsEnded && argument == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
      result.error = readOption(argc, argv, i, options);
      if (!result.error.empty()) return result;
    } else if (options.command == Command::None) {
      options.command = commandFromName(argument);
      if (options.command == Command::None) {
        result.error = "unknown command '" + argument + "'";
        return result;
      }
    } else {
      options.inputs.push_back(argument);
    }
  }
  if (!options.help && !options.version) result.error = commandEntry(options.command).check(options);
  return result;
}

std::string usageText(Command command) {
  const CommandEntry& entry = commandEntry(command);
  std::string text = "Usage: zvsa";
  if (entry.name[0]) text += std::string(" ") + entry.name;
  text += std::string(" ") + entry.synopsis + "\n" + entry.description + "\n";
  if (command == Command::None) {
    text += "\nCommands:\n";
    for (const CommandEntry& each : commandTable()) {
      if (!each.name[0]) continue;
      std::string line = std::string("  ") + each.name;
      line.resize(kListColumn, ' ');
      text += line + each.summary + "\n";
    }
  }
  text += "\nOptions:\n";
  for (const OptionSpec& option : optionTable())
    if (takes(option, command)) text += optionHelp(option);
  if (command == Command::None) {
    text += "\nExit status:\n";
    for (const ExitStatusMeaning& exit : kExitStatusMeanings) {
      std::string line = "  " + std::to_string(exit.status);
      line.resize(kListColumn, ' ');
      text += line + exit.meaning + "\n";
    }
  }
  return text;
}

int reportUsageError(Command command, const std::string& error) {
  const std::string name = commandName(command);
  const std::string who = name.empty() ? "zvsa" : "zvsa " + name;
  std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", who.c_str(), error.c_str(), who.c_str());
  return kExitUsage;
}

}  // namespace zv::cli
