// `webhost preview WEB [--port N]`: serves the web WEB over HTTP on
// 127.0.0.1 (preview_site.h says what each path answers), with byte ranges
// and HEAD, and prints the URL to open on standard output, until it is
// stopped by SIGINT or SIGTERM. The HTTP side is preview_server.h.
#ifndef ZV_HOST_PREVIEW_COMMAND_H
#define ZV_HOST_PREVIEW_COMMAND_H

#include <optional>
#include <string>
#include <vector>

namespace zv::host {

inline constexpr char kPreviewUsage[] = "Usage: webhost preview WEB [--port N] [-v]\n";

inline constexpr char kPreviewHelp[] =
    "Serve the web WEB at http://127.0.0.1:PORT/ for a browser, publishing each\n"
    "page as it is requested, and print that URL; the player's files that WEB\n"
    "lacks come from the installation. Runs until stopped with SIGINT or SIGTERM.\n"
    "\n"
    "Options:\n"
    "      --port N       the port, 1 to 65535 (default: any free port)\n"
    "  -v, --verbose      log every request on stderr\n"
    "  -h, --help         show this help\n";

struct PreviewOptions {
  std::string web;
  int port = 0;  // 0: any free port
  bool verbose = false;
};

// Reads the arguments that follow "preview". nullopt, with the reason, when
// they are not usable.
std::optional<PreviewOptions> parsePreviewOptions(const std::vector<std::string>& arguments,
                                                  std::string& error);

// Runs the command: argv[0] is the program, argv[1] "preview". Returns the
// exit status (kStatusOk after a stop by signal, kStatusFailed when the port
// cannot be had, kStatusBadUsage for bad arguments).
int runPreviewCommand(int argc, char** argv);

}  // namespace zv::host

#endif  // ZV_HOST_PREVIEW_COMMAND_H
