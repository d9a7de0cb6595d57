#include "host/serve_command.h"

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <charconv>
#include <cstring>
#include <iostream>

#include "host/web_automation.h"
#include "host/web_publisher.h"
#include "automation/automation_contract.h"

namespace zv::host {

namespace {

// A stop signal is turned into a byte on this pair, read by the event loop.
int gSignalPipe[2] = {-1, -1};

void onStopSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t ignored = ::write(gSignalPipe[1], &byte, 1);
}

bool watchStopSignals() {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, gSignalPipe) != 0) return false;
  struct sigaction action {};
  action.sa_handler = onStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  return ::sigaction(SIGINT, &action, nullptr) == 0 && ::sigaction(SIGTERM, &action, nullptr) == 0 &&
         ::sigaction(SIGHUP, &action, nullptr) == 0;
}

}  // namespace

std::optional<ServeOptions> parseServeOptions(const std::vector<std::string>& arguments, std::string& error) {
  ServeOptions options;
  bool haveWeb = false;
  bool havePage = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    if (option == "-v" || option == "--verbose") {
      options.verbose = true;
      continue;
    }
    if (option != "--web" && option != "--page" && option != "--url" && option != "--at" && option != "--marker") {
      error = "serve: unknown option " + option;
      return std::nullopt;
    }
    if (i + 1 >= arguments.size()) {
      error = "serve: " + option + " needs a value";
      return std::nullopt;
    }
    const std::string& value = arguments[++i];
    if (option == "--web") {
      options.web = value;
      haveWeb = true;
    } else if (option == "--page") {
      options.page = value;
      havePage = true;
    } else if (option == "--url") {
      options.url = value;
    } else if (option == "--at") {
      std::uint64_t offset = 0;
      const auto [end, status] = std::from_chars(value.data(), value.data() + value.size(), offset);
      if (status != std::errc() || end != value.data() + value.size()) {
        error = "serve: --at needs a byte offset, not \"" + value + "\"";
        return std::nullopt;
      }
      options.at = offset;
    } else {
      if (value.empty()) {
        error = "serve: --marker needs a text that is not empty";
        return std::nullopt;
      }
      options.marker = value;
    }
  }
  if (!haveWeb || !havePage) {
    error = "serve needs --web DIR and --page PAGE";
    return std::nullopt;
  }
  if (options.at && options.marker) {
    error = "serve: give either --at or --marker, not both";
    return std::nullopt;
  }
  return options;
}

int runServeCommand(int& argc, char** argv) {
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::cout << kServeUsage << kServeHelp
                << "\nExit status:\n"
                   "  0                  stopped by a signal\n"
                   "  1                  the web cannot be served, or the bus names are taken\n"
                   "  2                  bad usage\n";
      return kStatusOk;
    }
  }
  std::string error;
  const std::optional<ServeOptions> options =
      parseServeOptions(std::vector<std::string>(argv + 2, argv + argc), error);
  if (!options) {
    std::cerr << "webhost: " << error << "\n\n" << kServeUsage << kServeHelp;
    return kStatusBadUsage;
  }
  std::optional<ServedWeb> web = ServedWeb::open(*options, error);
  if (!web) {
    std::cerr << "webhost: " << error << "\n";
    return kStatusFailed;
  }
  const std::string description = "the web " + web->folder().string() + " (" + web->webUrl() +
                                  ") with the page " + web->page().string();

  QCoreApplication application(argc, argv);
  if (!watchStopSignals()) {
    std::cerr << "webhost: cannot watch for stop signals\n";
    return kStatusFailed;
  }
  QSocketNotifier stopNotifier(gSignalPipe[0], QSocketNotifier::Read);
  QObject::connect(&stopNotifier, &QSocketNotifier::activated, &application, &QCoreApplication::quit);

  WebAutomation automation(std::move(*web), options->verbose ? &std::cerr : nullptr);
  if (!automation.start(error)) {
    std::cerr << "webhost: " << error << "; nothing is served\n";
    return kStatusFailed;
  }
  std::cout << "webhost: serving " << description << "; owns " << automation::kExplorerProgramId << " and "
            << automation::kEditorProgramId << " on the session bus" << std::endl;
  application.exec();
  if (options->verbose) std::cerr << "webhost: stopped; the names are given up" << std::endl;
  return kStatusOk;
}

}  // namespace zv::host
