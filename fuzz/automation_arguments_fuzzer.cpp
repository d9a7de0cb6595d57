// The automation calls' arguments, as `webhost serve` receives them from the
// bus: any dispatch identifier with any list of arguments (strings, booleans,
// integers, doubles, in any number and order) to the Explorer and the Editor
// of a small web, answered without a bus by the very code that answers the
// bus calls.
//
// The input: byte 0 picks the program (bit 0) and the dispatch identifier
// (the rest, so that 3, 12, 15, 21, 22 and 27 are all reached); then
// arguments, each a kind byte, a length byte and that many bytes.
//
// What must hold: every call gets an answer or an error, never a crash; no
// file outside the web is written or made. Local file paths (the first
// argument of Explorer 3, a file to add) are kept inside a sandbox folder
// beside the web, so that the fuzzer never reads the machine's own files.
#include <unistd.h>

#include <QCoreApplication>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "host/served_web.h"
#include "host/web_automation.h"
#include "platform/temporary_file.h"

namespace {

namespace fs = std::filesystem;

constexpr char kPage[] = "<html><body>\r\n<!-- here --><p>After.</p>\r\n</body></html>\r\n";

struct Session {
  fs::path root = fs::path(zv::temporaryDirectory()) / ("zvfuzz-automation-" + std::to_string(::getpid()));
  fs::path web = root / "web";
  fs::path sandbox = root / "local";
  ~Session() {
    std::error_code ec;
    fs::remove_all(root, ec);
  }

  // A fresh web for every input: the calls add files and change the page.
  std::unique_ptr<zv::host::WebAutomation> reset() {
    std::error_code ec;
    fs::remove_all(web, ec);
    fs::create_directories(web / "sub");
    fs::create_directories(sandbox);
    std::ofstream(web / "index.htm", std::ios::binary) << kPage;
    std::ofstream(sandbox / "clip.zvsa", std::ios::binary) << "clip";
    zv::host::ServeOptions options;
    options.web = web;
    options.page = "index.htm";
    options.marker = "<!-- here -->";
    std::string error;
    std::optional<zv::host::ServedWeb> served = zv::host::ServedWeb::open(options, error);
    if (!served) std::abort();
    return std::make_unique<zv::host::WebAutomation>(std::move(*served), nullptr);
  }
};

// The bytes as a local path inside the sandbox.
QString sandboxed(const fs::path& sandbox, std::string text) {
  for (std::size_t at = text.find(".."); at != std::string::npos; at = text.find("..")) text.replace(at, 2, "__");
  return QString::fromStdString((sandbox / text).string());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static int argc = 1;
  static char name[] = "automation_arguments_fuzzer";
  static char* argv[] = {name, nullptr};
  static QCoreApplication application(argc, argv);
  static Session session;
  if (size == 0) return 0;
  const bool editor = (data[0] & 1) != 0;
  const int dispid = data[0] >> 1;

  QVariantList arguments;
  std::size_t at = 1;
  while (at + 2 <= size) {
    const std::uint8_t kind = data[at];
    const std::size_t length = std::min<std::size_t>(data[at + 1], size - at - 2);
    const std::string bytes(reinterpret_cast<const char*>(data + at + 2), length);
    at += 2 + length;
    switch (kind % 5) {
      case 0:
        arguments.push_back(!editor && dispid == 3 && arguments.isEmpty()
                                ? sandboxed(session.sandbox, bytes)
                                : QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())));
        break;
      case 1: arguments.push_back(!bytes.empty() && (bytes[0] & 1)); break;
      case 2: arguments.push_back(bytes.empty() ? 0 : static_cast<int>(static_cast<signed char>(bytes[0])) * 1000003); break;
      case 3: arguments.push_back(bytes.size() >= 2 ? static_cast<double>(bytes[0]) / (bytes[1] | 1) : 0.5); break;
      default: arguments.push_back(QString()); break;
    }
  }

  const std::unique_ptr<zv::host::WebAutomation> automation = session.reset();
  const zv::host::InvokeAnswer answer =
      editor ? automation->editorCall(dispid, arguments) : automation->explorerCall(dispid, arguments);
  (void)answer;

  // Nothing was made beside the web or the sandbox.
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(session.root, ec)) {
    const std::string entryName = entry.path().filename().string();
    if (entryName != "web" && entryName != "local") std::abort();
  }
  return 0;
}
