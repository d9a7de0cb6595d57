// zvwizard: the encoder wizard on its own, for people without a web editor.
//
// Runs the wizard (DoZvEncoder). What Finish does depends on the road
// (zvwizard/finish_road.h says how it is chosen):
//
// - From a terminal, the clip goes into the output folder (-o, default the
//   current folder) and the applet markup is printed on standard output; a
//   gallery clip is copied there, a new clip moved. A file of the clip's
//   name is never replaced without asking: on a terminal the user is asked,
//   otherwise zvwizard refuses, says where the new clip is, and ends with
//   status 1.
// - From the desktop's menu, a save dialog asks where the clip goes and a
//   window shows the markup (zvwizard/window_finish.h).
//
// Cancel ends with status 1 and writes nothing.
//
// The wizard works in a private folder of its own under $TMPDIR. A helper
// process forked at the start clears that folder once zvwizard has ended,
// however it ended, so that Ctrl-C leaves nothing in the temporary folder.
#include <dlfcn.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include <zv/zv_encoder.h>
#include "platform/install_folders.h"
#include "platform/install_layout.h"
#include "platform/qt/qt_message_box_presenter.h"
#include "platform/qt/scoped_qapplication.h"
#include "wizard/gallery_folder.h"
#include "platform/run_folder.h"
#include "platform/temporary_file.h"
#include "wizard/settings_store.h"
#include "wizard/user_gallery_folder.h"
#include "wizard/zvwizard/clip_file_moves.h"
#include "wizard/zvwizard/clip_markup.h"
#include "wizard/zvwizard/clip_paths.h"
#include "wizard/zvwizard/finish_road.h"
#include "wizard/zvwizard/window_finish.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitNotDone = 1;  // cancelled, or the clip could not be placed
constexpr int kExitUsage = 2;

const char kUsage[] =
    "Usage: zvwizard [-o DIR] [--window | --terminal]\n"
    "Make a compressed audio clip for a web page with the Z&V Tavelworks wizard.\n"
    "\n"
    "On Finish, from a terminal, the clip (NAME.zvsa) is put into DIR and the\n"
    "markup that embeds the player for it is printed on standard output.  A clip\n"
    "chosen from the gallery is copied there; a new clip is moved there.  An\n"
    "existing file of the same name is replaced only when you agree on the\n"
    "terminal; without a terminal zvwizard refuses and tells you where the new\n"
    "clip is.\n"
    "\n"
    "Started from the desktop's menu (neither standard input nor standard output\n"
    "a terminal), Finish asks in a save dialog where the clip goes (starting in\n"
    "DIR when given, else in the folder you saved to last) and shows the markup\n"
    "in a window, with Copy to put it on the clipboard.  A new clip you do not\n"
    "save is kept in your own gallery.\n"
    "\n"
    "The gallery is the one installed with the wizard and your own,\n"
    "$XDG_DATA_HOME/zvtavelworks/Gallery (~/.local/share/zvtavelworks/Gallery),\n"
    "where \"Add to gallery\" puts your clips; a clip of yours hides an installed\n"
    "one of the same name.\n"
    "\n"
    "Options:\n"
    "  -o, --output-dir DIR   where the clip goes (default: the current folder)\n"
    "      --window           finish with the save dialog and the markup window\n"
    "      --terminal         finish on the terminal, as described first\n"
    "  -h, --help             show this help\n"
    "      --version          show the version\n"
    "\n"
    "Exit status:\n"
    "  0                      the clip and the markup are done\n"
    "  1                      the wizard was cancelled, or the clip could not be\n"
    "                         put in place (or, with the windows, was not saved)\n"
    "  2                      bad command line\n";

void complain(const std::string& text) { std::fprintf(stderr, "zvwizard: %s\n", text.c_str()); }

// The gallery folder of the wizard library's installation.
std::string galleryFolder() {
  Dl_info info{};
  if (::dladdr(reinterpret_cast<void*>(&DoZvEncoder), &info) == 0 || info.dli_fname == nullptr)
    return {};
  return zv::folderFrom(zv::folderOf(info.dli_fname), zv::layout::kPrivateDataFromLibrary) +
         zv::kGalleryFolderName;
}

// A clip of the gallery, the installed one or the user's own, is copied;
// any other clip is new and moved.
bool isGalleryClip(const std::string& clip) {
  const std::string folder = zv::folderOf(clip);
  const std::string userGallery = zv::userGalleryDirectory();
  return folder == galleryFolder() || zv::sameFile(folder, galleryFolder()) || folder == userGallery ||
         zv::sameFile(folder, userGallery);
}

// Asks on the terminal whether `path` may be replaced.
bool userAgreesToReplace(const std::string& path) {
  std::fprintf(stderr, "zvwizard: \"%s\" already exists.  Replace it? [y/N] ", path.c_str());
  std::fflush(stderr);
  std::string answer;
  if (!std::getline(std::cin, answer)) return false;
  return answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes";
}

bool environmentSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

bool hasDisplay() {
  return environmentSet("DISPLAY") || environmentSet("WAYLAND_DISPLAY") ||
         environmentSet("QT_QPA_PLATFORM");
}

struct Options {
  std::string outputDir = ".";
  bool outputDirGiven = false;
  std::optional<zv::FinishRoad> road;  // unset: as finish_road.h decides
};

// Reads the command line; -1 to go on, else the exit status.
int parseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "-h" || argument == "--help") {
      std::fputs(kUsage, stdout);
      return kExitOk;
    }
    if (argument == "--version") {
      std::printf("zvwizard %s\n", ZV_VERSION_TEXT);
      return kExitOk;
    }
    if (argument == "-o" || argument == "--output-dir") {
      if (i + 1 >= argc) {
        complain("option " + argument + " needs a folder (see zvwizard --help)");
        return kExitUsage;
      }
      options.outputDir = argv[++i];
      options.outputDirGiven = true;
      continue;
    }
    if (argument.rfind("--output-dir=", 0) == 0) {
      options.outputDir = argument.substr(std::strlen("--output-dir="));
      options.outputDirGiven = true;
      continue;
    }
    if (argument == "--window" || argument == "--terminal") {
      options.road = argument == "--window" ? zv::FinishRoad::Window : zv::FinishRoad::Terminal;
      continue;
    }
    complain("unknown argument \"" + argument + "\" (see zvwizard --help)");
    return kExitUsage;
  }
  if (options.outputDir.empty()) options.outputDir = ".";
  return -1;
}

// Puts the finished clip into the output folder. True when it is there.
bool placeClip(const std::string& clip, const std::string& outputDir) {
  const std::string target = outputDir + "/" + zv::fileNameOf(clip);
  if (zv::sameFile(clip, target)) return true;

  bool replace = false;
  if (zv::pathExists(target)) {
    if (!::isatty(STDIN_FILENO)) {
      complain("\"" + target + "\" already exists and is not replaced without asking (run zvwizard "
               "on a terminal to be asked).  The clip you made is \"" + clip + "\".");
      return false;
    }
    if (!userAgreesToReplace(target)) {
      complain("\"" + target + "\" is left as it was.  The clip you made is \"" + clip + "\".");
      return false;
    }
    replace = true;
  }

  const bool fromGallery = isGalleryClip(clip);
  const std::string reason =
      fromGallery ? zv::copyClipFile(clip, target, replace) : zv::moveClipFile(clip, target, replace);
  if (!reason.empty()) {
    complain("the clip cannot be put into \"" + target + "\": " + reason + ".  It is still \"" + clip +
             "\".");
    return false;
  }
  // A new clip came alone in the wizard's private folder, now empty.
  if (!fromGallery) ::rmdir(zv::folderOf(clip).c_str());
  std::fprintf(stderr, "zvwizard: clip saved as \"%s\"\n", target.c_str());
  return true;
}

// Runs the wizard. True on Finish, with the markup and the record filled
// (freeResult() frees them); otherwise nothing is left to free.
bool wizardFinished(SystemString& markup, WizardResult& result) {
  markup = nullptr;
  std::memset(&result, 0, sizeof result);
  if (DoZvEncoder(0, &markup, &result) == ZV_WIZARD_FINISHED) return true;
  SysFreeString(markup);
  markup = nullptr;
  return false;
}

void freeResult(SystemString markup, WizardResult& result) {
  SysFreeString(markup);
  for (SystemString text : {result.className, result.codebase, result.tag, result.alignment,
                            result.bodyText, result.otherAttributes, result.clipFile})
    SysFreeString(text);
}

// The wizard and the placing of its clip on the terminal; the exit status.
int runWizardOnTheTerminal(const Options& options) {
  SystemString markup = nullptr;
  WizardResult result;
  if (!wizardFinished(markup, result)) return kExitNotDone;

  int status = kExitNotDone;
  if (result.clipFile != nullptr && placeClip(result.clipFile, options.outputDir)) {
    std::fputs(markup != nullptr ? markup : "", stdout);
    status = std::fflush(stdout) == 0 ? kExitOk : kExitNotDone;
  }
  freeResult(markup, result);
  return status;
}

// The wizard, then the save dialog and the markup window; the exit status.
int runWizardInWindows(const Options& options) {
  // Made here, not by the wizard's call, so that it outlives the wizard for
  // the windows that follow it.
  const std::unique_ptr<zv::ScopedQApplication> application = zv::ensureQApplication();
  SystemString markup = nullptr;
  WizardResult result;
  if (!wizardFinished(markup, result)) return kExitNotDone;

  int status = kExitNotDone;
  if (result.clipFile != nullptr) {
    const std::string clip = result.clipFile;
    const zv::FinishedClip finished{
        clip, isGalleryClip(clip), markup != nullptr ? markup : "",
        [&result](const std::string& clipFileName) { return zv::markupForClip(result, clipFileName); }};
    zv::QtMessageBoxPresenter presenter;
    zv::SettingsStore settings;
    const zv::WindowFinishSetup setup{presenter, settings, options.outputDirGiven ? options.outputDir : "",
                                      zv::userGalleryDirectory()};
    const zv::WindowFinishOutcome outcome = zv::finishInWindows(finished, setup);
    // Said on standard error too, for whoever reads the session's log.
    std::fprintf(stderr, "zvwizard: the clip is \"%s\"\n", outcome.path.c_str());
    status = outcome.where == zv::ClipWhereabouts::Saved ? kExitOk : kExitNotDone;
  }
  freeResult(markup, result);
  return status;
}

// Forks a small process that outlives this one by a moment: it waits until
// this process has ended, however it ended (Finish, Cancel, Ctrl-C, a
// crash), and then clears the wizard's folders this process left behind.
// It keeps this process's standard output and error open until it is done,
// so whoever reads them to their end also waits for the clearing.
void leaveACleanerBehind() {
  int lifeline[2];
  if (::pipe(lifeline) != 0) return;
  const pid_t owner = ::getpid();
  const pid_t cleaner = ::fork();
  if (cleaner < 0) {
    ::close(lifeline[0]);
    ::close(lifeline[1]);
    return;
  }
  if (cleaner > 0) {
    // The write end stays open here, unused, until this process ends.
    ::close(lifeline[0]);
    return;
  }
  ::close(lifeline[1]);
  // Ctrl-C reaches the whole process group: it is meant for the wizard.
  for (int signalNumber : {SIGINT, SIGQUIT, SIGHUP, SIGTERM}) std::signal(signalNumber, SIG_IGN);
  char byte = 0;
  while (::read(lifeline[0], &byte, 1) < 0 && errno == EINTR) {
  }
  // The pipe closes a moment before the owner has quite ended; once this
  // process has been handed to another parent, it has.
  while (::getppid() == owner) ::usleep(1000);
  zv::removeAbandonedRunFolders(zv::temporaryDirectory());
  ::_exit(0);
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (const int status = parseOptions(argc, argv, options); status >= 0) return status;
  // Checked before the wizard runs, so that nobody makes a clip in vain.
  if (!zv::isFolder(options.outputDir)) {
    complain("the output folder \"" + options.outputDir + "\" does not exist or is not a folder");
    return kExitUsage;
  }

  // Without a display the windowing layer would end the program with its
  // own fatal error; say it plainly instead.
  if (!hasDisplay()) {
    complain("no display to show the wizard on (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are "
             "unset); for files without a display, use zvsa");
    return kExitNotDone;
  }

  std::fflush(nullptr);
  leaveACleanerBehind();
  return zv::chooseFinishRoadForThisProcess(options.road) == zv::FinishRoad::Window
             ? runWizardInWindows(options)
             : runWizardOnTheTerminal(options);
}
