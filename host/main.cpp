// webhost: the least web-page editor host that lets the ZvTavelwork component
// run end to end. It publishes webs the way the outside editor did: every
// component's span is filled with what the component library's Expand entry
// makes of its attributes.
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string_view>

#include "host/edit_command.h"
#include "host/editbot_binding.h"
#include "host/preview_command.h"
#include "host/serve_command.h"
#include "host/web_publisher.h"

namespace {

constexpr char kUsage[] =
    "Usage: webhost publish WEB OUT\n"
    "  or:  webhost expand PAGE\n"
    "  or:  webhost edit PAGE [N]\n"
    "  or:  webhost serve --web DIR --page PAGE [--url URL] [--at OFFSET | --marker TEXT] [-v]\n"
    "  or:  webhost preview WEB [--port N] [-v]\n"
    "Expands the ZvTavelwork components of web pages into their published form,\n"
    "with libZvEditBot.so (looked for beside webhost, then in the installation's\n"
    "private library folder lib/zvtavelworks, then in the loader's search path).\n"
    "'webhost serve --help' and 'webhost preview --help' show the options of\n"
    "those commands.\n"
    "\n"
    "Commands:\n"
    "  publish WEB OUT  publish every page (.htm, .html) of the folder WEB into the\n"
    "                   folder OUT, keeping the folder layout and copying all other\n"
    "                   files; a page that cannot be parsed is reported with its\n"
    "                   line and column and not written\n"
    "  expand PAGE      write the published form of one page to standard output\n"
    "  edit PAGE [N]    change the settings of component N (default 1) of a page in\n"
    "                   the component's own dialog; on OK the changed settings are\n"
    "                   written back into the page, which keeps every other byte\n"
    "  serve            answer the web editor's Explorer and Editor automation calls\n"
    "                   on the D-Bus session bus for the web DIR and its page PAGE\n"
    "                   until stopped\n"
    "  preview          serve the web WEB over HTTP on 127.0.0.1 for a browser,\n"
    "                   publishing each page as it is requested, and print the URL\n"
    "                   to open\n"
    "\n"
    "Options:\n"
    "  -h, --help       show this help\n"
    "      --version    show the version\n"
    "\n"
    "Exit status:\n"
    "  0                everything was published\n"
    "  1                a page or file failed\n"
    "  2                bad usage\n";

int badUsage(const char* why) {
  std::cerr << "webhost: " << why << "\n\n" << kUsage;
  return zv::host::kStatusBadUsage;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::cout << kUsage;
    return zv::host::kStatusOk;
  }
  if (argc >= 2 && std::strcmp(argv[1], "--version") == 0) {
    std::cout << "webhost " ZV_VERSION_TEXT " (Z&V Tavelworks)\n";
    return zv::host::kStatusOk;
  }
  if (argc < 2) return badUsage("no command given");
  if (std::strcmp(argv[1], "serve") == 0) return zv::host::runServeCommand(argc, argv);
  if (std::strcmp(argv[1], "preview") == 0) return zv::host::runPreviewCommand(argc, argv);

  zv::host::EditBotBinding editBot;
  zv::host::WebPublisher publisher(
      [&editBot](std::string& why) { return editBot.expand(why); }, std::cerr);

  const std::string_view command = argv[1];
  if (command == "publish") {
    if (argc != 4) return badUsage("publish needs a web folder and an output folder");
    return publisher.publishWeb(argv[2], argv[3]);
  }
  if (command == "edit") {
    if (argc != 3 && argc != 4) return badUsage("edit needs a page and, optionally, a component number");
    int number = 1;
    if (argc == 4) {
      char* end = nullptr;
      const long parsed = std::strtol(argv[3], &end, 10);
      if (end == argv[3] || *end != '\0' || parsed < 1 || parsed > 1000000)
        return badUsage("the component number must be a whole number from 1");
      number = static_cast<int>(parsed);
    }
    return zv::host::editComponent(argv[2], number, editBot, std::cerr);
  }
  if (command == "expand") {
    if (argc != 3) return badUsage("expand needs one page");
    return publisher.expandPage(argv[2], std::cout);
  }
  return badUsage("unknown command");
}
