// The table of zvsa's commands and options: every option of every command
// declared once, with its names, its value, its help and its default, and
// what it does to the Options. The parser (cli_options.cpp) and the help
// text are made from these rows; a new option is one new row.
#ifndef ZV_CLI_OPTION_TABLE_H
#define ZV_CLI_OPTION_TABLE_H

#include <span>
#include <string>

#include "cli/cli_options.h"

namespace zv::cli {

// A set of commands, one bit each (Command::None: the program itself).
using CommandSet = unsigned;

constexpr CommandSet commandBit(Command command) { return 1u << static_cast<unsigned>(command); }

inline constexpr CommandSet kConversionCommands =
    commandBit(Command::Encode) | commandBit(Command::Decode);
inline constexpr CommandSet kEveryCommand = commandBit(Command::None) | kConversionCommands |
                                            commandBit(Command::Info) |
                                            commandBit(Command::Markup) | commandBit(Command::Play);

struct CommandEntry {
  Command command;
  const char* name;         // as typed; "" for the program itself
  const char* synopsis;     // what follows "Usage: zvsa[ name] "
  const char* summary;      // one line, for the program's list of commands
  const char* description;  // the lines under the usage line
  // The whole command line's consistency, once every argument is read:
  // "" when it is good, else the error.
  std::string (*check)(const Options& options);
};

struct OptionSpec {
  CommandSet commands;     // the commands that take it (and list it in their help)
  const char* shortName;   // "-o", or nullptr
  const char* longName;    // "--output"
  const char* valueName;   // "FILE"; nullptr for a switch
  const char* help;        // one or more lines, '\n' between them
  std::string (*defaultText)();  // shown as "(default: ...)"; nullptr for none
  // Stores `value` (empty for a switch); returns "" or the error.
  std::string (*apply)(Options& options, const std::string& value);
};

// Every command, the program itself (Command::None) first.
std::span<const CommandEntry> commandTable();

// The row of `command`.
const CommandEntry& commandEntry(Command command);

// Every option, in the order the help lists them. A name may stand in more
// than one row when the commands that share it explain it differently; the
// rows of one name never share a command.
std::span<const OptionSpec> optionTable();

}  // namespace zv::cli

#endif  // ZV_CLI_OPTION_TABLE_H
