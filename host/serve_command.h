// `webhost serve`: offers a web folder and one of its pages to automation
// clients (the insertion program) as the Explorer and the Editor, until it is
// stopped by SIGINT or SIGTERM.
#ifndef ZV_HOST_SERVE_COMMAND_H
#define ZV_HOST_SERVE_COMMAND_H

#include <optional>
#include <string>
#include <vector>

#include "host/served_web.h"

namespace zv::host {

inline constexpr char kServeUsage[] =
    "Usage: webhost serve --web DIR --page PAGE [--url URL] [--at OFFSET | --marker TEXT] [-v]\n";

inline constexpr char kServeHelp[] =
    "Answer the automation calls of the web editor's Explorer and Editor on the\n"
    "D-Bus session bus (bus names FrontPage.Explorer and FrontPage.Editor) for the\n"
    "web DIR and its page PAGE, until stopped with SIGINT or SIGTERM. A player\n"
    "inserted into the page is saved by replacing the page in one step.\n"
    "\n"
    "Options:\n"
    "      --web DIR      the open web: a folder\n"
    "      --page PAGE    the page being edited, inside DIR (relative to it)\n"
    "      --url URL      the web's URL (default: file:// and DIR's absolute path)\n"
    "      --at OFFSET    insert at this byte offset of the page\n"
    "      --marker TEXT  insert just before the first TEXT in the page\n"
    "                     (default: at the end of the page)\n"
    "  -v, --verbose      log every call on stderr\n"
    "  -h, --help         show this help\n";

// Reads the options that follow "serve". nullopt, with the reason, when they
// are not usable.
std::optional<ServeOptions> parseServeOptions(const std::vector<std::string>& arguments, std::string& error);

// Runs the command: argv[0] is the program, argv[1] "serve". Returns the
// exit status (kStatusOk after a stop by signal, kStatusFailed when the web
// cannot be served or the names are taken, kStatusBadUsage for bad options).
int runServeCommand(int& argc, char** argv);

}  // namespace zv::host

#endif  // ZV_HOST_SERVE_COMMAND_H
