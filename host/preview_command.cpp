#include "host/preview_command.h"

#include <pthread.h>
#include <signal.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <thread>

#include "host/editbot_binding.h"
#include "host/preview_server.h"
#include "host/preview_site.h"
#include "host/web_publisher.h"
#include "platform/install_folders.h"

namespace zv::host {

namespace fs = std::filesystem;

namespace {

constexpr char kHost[] = "127.0.0.1";

// The player's files of the installation (and of the build tree, which has
// the same layout): the private data folder, where the insertion program
// finds them too.
fs::path installedPlayerFolder() { return fs::path(privateDataFolderOfProgram()); }

int usageError(const std::string& why) {
  std::cerr << "webhost: " << why << "\n\n" << kPreviewUsage << kPreviewHelp;
  return kStatusBadUsage;
}

}  // namespace

std::optional<PreviewOptions> parsePreviewOptions(const std::vector<std::string>& arguments,
                                                  std::string& error) {
  PreviewOptions options;
  bool haveWeb = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    if (a == "--port") {
      if (i + 1 >= arguments.size()) {
        error = "--port needs a number";
        return std::nullopt;
      }
      const std::string& value = arguments[++i];
      char* end = nullptr;
      errno = 0;
      const long port = std::strtol(value.c_str(), &end, 10);
      if (value.empty() || *end != '\0' || errno != 0 || port < 1 || port > 65535) {
        error = "the port must be a whole number from 1 to 65535, not \"" + value + "\"";
        return std::nullopt;
      }
      options.port = static_cast<int>(port);
    } else if (a == "-v" || a == "--verbose") {
      options.verbose = true;
    } else if (!a.empty() && a[0] == '-' && a != "-") {
      error = "unknown option " + a;
      return std::nullopt;
    } else if (haveWeb) {
      error = "preview takes one web folder";
      return std::nullopt;
    } else {
      options.web = a;
      haveWeb = true;
    }
  }
  if (!haveWeb) {
    error = "preview needs a web folder";
    return std::nullopt;
  }
  return options;
}

int runPreviewCommand(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 2, argv + argc);
  for (const std::string& a : arguments) {
    if (a == "--help" || a == "-h") {
      std::cout << kPreviewUsage << kPreviewHelp
                << "\nExit status:\n"
                   "  0                  stopped by a signal\n"
                   "  1                  the port cannot be had\n"
                   "  2                  bad usage\n";
      return kStatusOk;
    }
  }
  std::string error;
  const std::optional<PreviewOptions> options = parsePreviewOptions(arguments, error);
  if (!options) return usageError(error);
  std::error_code ec;
  if (!fs::is_directory(options->web, ec)) {
    std::cerr << "webhost: " << options->web << ": error: not a folder\n";
    return kStatusBadUsage;
  }

  EditBotBinding editBot;
  PreviewSite site(options->web, installedPlayerFolder(),
                   [&editBot](std::string& why) { return editBot.expand(why); }, std::cerr);

  PreviewServer server([&site](std::string_view path) { return site.get(path); },
                       options->verbose ? &std::cerr : nullptr);

  // SIGINT and SIGTERM stop the server: they are blocked here (the server's
  // threads inherit the mask) and taken by one thread that waits for them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  const int port = server.listen(options->port);
  if (port <= 0) {
    std::cerr << "webhost: cannot listen on " << kHost << ':' << options->port << ": "
              << std::strerror(errno) << "\n";
    return kStatusFailed;
  }

  std::thread stopper([&server, &stopSignals] {
    int signal = 0;
    sigwait(&stopSignals, &signal);
    server.stop();
  });

  std::cout << "http://" << kHost << ':' << port << "/" << std::endl;
  std::cerr << "webhost: previewing " << options->web << " at http://" << kHost << ':' << port
            << "/ (Ctrl+C to stop)\n";
  const bool served = server.run();
  // When the server ended on its own, the waiting thread still needs its
  // signal.
  if (!served) pthread_kill(stopper.native_handle(), SIGTERM);
  stopper.join();
  if (!served) {
    std::cerr << "webhost: the server stopped: " << std::strerror(errno) << "\n";
    return kStatusFailed;
  }
  return kStatusOk;
}

}  // namespace zv::host
