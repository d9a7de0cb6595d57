// zvwizard: the encoder wizard on its own, for people without a web editor.
//
// Runs the wizard (DoZvEncoder). On Finish the clip goes into the output
// folder (-o, default the current folder) and the applet markup is printed
// on standard output; a gallery clip is copied there, a new clip moved. A
// file of the clip's name is never replaced without asking: on a terminal
// the user is asked, otherwise zvwizard refuses, says where the new clip is,
// and ends with status 1. Cancel ends with status 1 and writes nothing.
//
// The wizard works in a private folder of its own under $TMPDIR. A helper
// process forked at the start clears that folder once zvwizard has ended,
// however it ended, so that Ctrl-C leaves nothing in the temporary folder.
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include <zv/zv_encoder.h>
#include "wizard/gallery_folder.h"
#include "platform/install_folders.h"
#include "platform/install_layout.h"
#include "platform/run_folder.h"
#include "platform/temporary_file.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitNotDone = 1;  // cancelled, or the clip could not be placed
constexpr int kExitUsage = 2;

const char kUsage[] =
    "Usage: zvwizard [-o DIR]\n"
    "Make a compressed audio clip for a web page with the Z&V Tavelworks wizard.\n"
    "\n"
    "On Finish the clip (NAME.zvsa) is put into DIR and the markup that embeds\n"
    "the player for it is printed on standard output.  A clip chosen from the\n"
    "gallery is copied there; a new clip is moved there.  An existing file of\n"
    "the same name is replaced only when you agree on the terminal; without a\n"
    "terminal zvwizard refuses and tells you where the new clip is.\n"
    "\n"
    "Options:\n"
    "  -o, --output-dir DIR   where the clip goes (default: the current folder)\n"
    "  -h, --help             show this help\n"
    "      --version          show the version\n"
    "\n"
    "Exit status:\n"
    "  0                      the clip and the markup are done\n"
    "  1                      the wizard was cancelled, or the clip could not be\n"
    "                         put in place\n"
    "  2                      bad command line\n";

void complain(const std::string& text) { std::fprintf(stderr, "zvwizard: %s\n", text.c_str()); }

std::string reasonOf(int error) { return std::strerror(error); }

std::string fileNameOf(const std::string& path) {
  const std::string::size_type slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string folderOf(const std::string& path) {
  const std::string::size_type slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool isDirectory(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool exists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

bool sameFile(const std::string& a, const std::string& b) {
  struct stat first {}, second {};
  return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

// The gallery folder of the wizard library's installation.
std::string galleryFolder() {
  Dl_info info{};
  if (::dladdr(reinterpret_cast<void*>(&DoZvEncoder), &info) == 0 || info.dli_fname == nullptr)
    return {};
  return zv::folderFrom(folderOf(info.dli_fname), zv::layout::kPrivateDataFromLibrary) +
         zv::kGalleryFolderName;
}

// Asks on the terminal whether `path` may be replaced.
bool userAgreesToReplace(const std::string& path) {
  std::fprintf(stderr, "zvwizard: \"%s\" already exists.  Replace it? [y/N] ", path.c_str());
  std::fflush(stderr);
  std::string answer;
  if (!std::getline(std::cin, answer)) return false;
  return answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes";
}

// Copies `from` to a new file beside `to`, then links or renames it into
// place. Empty on success, else the reason.
std::string copyInto(const std::string& from, const std::string& to, bool replace) {
  const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return reasonOf(errno);
  std::string partial = to + ".XXXXXX";
  const int out = ::mkstemp(partial.data());
  if (out < 0) {
    const int error = errno;
    ::close(in);
    return reasonOf(error);
  }
  ::fchmod(out, 0644);
  std::string reason;
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(in, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      reason = reasonOf(errno);
      break;
    }
    if (got == 0) break;
    for (ssize_t done = 0; done < got;) {
      const ssize_t wrote = ::write(out, buffer + done, static_cast<size_t>(got - done));
      if (wrote < 0 && errno == EINTR) continue;
      if (wrote < 0) {
        reason = reasonOf(errno);
        break;
      }
      done += wrote;
    }
    if (!reason.empty()) break;
  }
  ::close(in);
  if (reason.empty() && ::fsync(out) != 0) reason = reasonOf(errno);
  if (::close(out) != 0 && reason.empty()) reason = reasonOf(errno);
  if (reason.empty()) {
    // link() refuses an existing name, so a file that appeared meanwhile is
    // never replaced without leave; rename() replaces.
    const int placed = replace ? ::rename(partial.c_str(), to.c_str()) : ::link(partial.c_str(), to.c_str());
    if (placed != 0) reason = reasonOf(errno);
  }
  ::unlink(partial.c_str());
  return reason;
}

// Moves `from` to `to`: a rename where the file system allows it (link and
// unlink when it must not replace), a copy and delete across file systems.
std::string moveInto(const std::string& from, const std::string& to, bool replace) {
  const int placed = replace ? ::rename(from.c_str(), to.c_str()) : ::link(from.c_str(), to.c_str());
  if (placed == 0) {
    if (!replace) ::unlink(from.c_str());
    return {};
  }
  if (errno == EEXIST) return reasonOf(errno);
  // Another file system, or one without hard links: copy, then delete.
  std::string reason = copyInto(from, to, replace);
  if (reason.empty()) ::unlink(from.c_str());
  return reason;
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
      continue;
    }
    if (argument.rfind("--output-dir=", 0) == 0) {
      options.outputDir = argument.substr(std::strlen("--output-dir="));
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
  const std::string target = outputDir + "/" + fileNameOf(clip);
  if (sameFile(clip, target)) return true;

  bool replace = false;
  if (exists(target)) {
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

  const bool fromGallery = folderOf(clip) == galleryFolder() || sameFile(folderOf(clip), galleryFolder());
  const std::string reason = fromGallery ? copyInto(clip, target, replace) : moveInto(clip, target, replace);
  if (!reason.empty()) {
    complain("the clip cannot be put into \"" + target + "\": " + reason + ".  It is still \"" + clip +
             "\".");
    return false;
  }
  // A new clip came alone in the wizard's private folder, now empty.
  if (!fromGallery) ::rmdir(folderOf(clip).c_str());
  std::fprintf(stderr, "zvwizard: clip saved as \"%s\"\n", target.c_str());
  return true;
}

// The wizard and the placing of its clip; the exit status.
int runWizardAndPlaceClip(const Options& options) {
  SystemString markup = nullptr;
  WizardResult result;
  std::memset(&result, 0, sizeof result);
  if (DoZvEncoder(0, &markup, &result) != ZV_WIZARD_FINISHED) {
    SysFreeString(markup);
    return kExitNotDone;
  }

  int status = kExitNotDone;
  if (result.clipFile != nullptr && placeClip(result.clipFile, options.outputDir)) {
    std::fputs(markup != nullptr ? markup : "", stdout);
    status = std::fflush(stdout) == 0 ? kExitOk : kExitNotDone;
  }
  SysFreeString(markup);
  for (SystemString text : {result.className, result.codebase, result.tag, result.alignment,
                            result.bodyText, result.otherAttributes, result.clipFile})
    SysFreeString(text);
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
  if (!isDirectory(options.outputDir)) {
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
  return runWizardAndPlaceClip(options);
}
