// The engine's input messages as zvsa says them. The system's texts speak
// to someone in front of the wizard ("You may browse for the correct file
// by pressing the button to the right", "Please select another file");
// in a terminal the same facts point to the command line instead, and a
// failed file operation adds the operating system's reason ("No such file
// or directory", "Permission denied", "Is a directory").
#ifndef ZV_CLI_COMMAND_LINE_MESSAGES_H
#define ZV_CLI_COMMAND_LINE_MESSAGES_H

#include <string>

#include "encoder/engine_notice.h"

namespace zv::cli {

// A MessageWording: the notice's fact, the reason (when a file operation
// failed) as a sentence of its own, then what to do on the command line.
// Notices without a wording of their own keep the system's text, with the
// reason added.
std::string commandLineWording(const EngineNotice& notice);

}  // namespace zv::cli

#endif  // ZV_CLI_COMMAND_LINE_MESSAGES_H
