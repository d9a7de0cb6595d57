// The HTTP requests of `webhost preview`: the input is what a client sends
// on a connection. Its head is read as the server reads it, the Host checked,
// the path taken from the target and answered by the preview site of a small
// web, and the Range field answered for the size of what was found.
//
// What must hold: the head never reads beyond the input and never counts
// more bytes than it was given; nothing outside the web (a file beside it, a
// link out of it) and no dotfile is ever answered; the ranges served lie
// inside the representation, in order of the field, each first <= last,
// and at most kMostRanges of them.
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "host/http_request.h"
#include "host/preview_site.h"
#include "platform/temporary_file.h"

namespace {

namespace fs = std::filesystem;

constexpr char kSecret[] = "outside-the-web";

void writeFile(const fs::path& path, const std::string& content) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << content;
}

// A web with a page, a clip, a folder, a dotfile and a link out of it, and
// a secret beside it.
struct Session {
  fs::path root = fs::path(zv::temporaryDirectory()) / ("zvfuzz-preview-" + std::to_string(::getpid()));
  std::ostringstream log;
  std::unique_ptr<zv::host::PreviewSite> site;
  Session() {
    writeFile(root / "web" / "index.htm", "<p>page</p>");
    writeFile(root / "web" / "clip.zvsa", "0123456789abcdef");
    writeFile(root / "web" / "sub dir" / "caf\xC3\xA9.zvsa", "clip");
    writeFile(root / "web" / ".git" / "config", kSecret);
    writeFile(root / "secret.txt", kSecret);
    std::error_code ec;
    fs::create_symlink(root / "secret.txt", root / "web" / "leak.txt", ec);
    fs::create_directory_symlink(root, root / "web" / "up", ec);
    site = std::make_unique<zv::host::PreviewSite>(
        root / "web", fs::path(), [](std::string&) -> ZvTavelworkExpandFn { return nullptr; }, log);
  }
  ~Session() {
    std::error_code ec;
    fs::remove_all(root, ec);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Session session;
  const std::string_view received(reinterpret_cast<const char*>(data), size);
  zv::host::HttpRequest request;
  std::size_t headBytes = 0;
  if (zv::host::parseRequestHead(received, request, headBytes) != zv::host::HeadState::Complete) return 0;
  if (headBytes > size) std::abort();
  request.keepsAlive();
  request.hasBody();
  int hosts = 0;
  if (const auto host = request.header("Host", &hosts)) zv::host::isPreviewHost(*host, 8080);

  const std::optional<std::string> path = zv::host::requestPath(request.target);
  if (!path) return 0;
  const zv::host::PreviewReply reply = session.site->get(*path);
  // Error pages show the path asked for; what is served never holds the
  // secret.
  if (reply.status == 200 && reply.body.find(kSecret) != std::string::npos) std::abort();

  const std::optional<std::string_view> range = request.header("Range");
  if (!range) return 0;
  for (const std::uint64_t length : {reply.size(), std::uint64_t{0}, std::uint64_t{1}, ~std::uint64_t{0}}) {
    std::vector<zv::host::ByteRange> ranges;
    const zv::host::RangeAnswer answer = zv::host::resolveRanges(*range, length, ranges);
    if ((answer == zv::host::RangeAnswer::Partial) != !ranges.empty()) std::abort();
    if (ranges.size() > zv::host::kMostRanges) std::abort();
    for (const zv::host::ByteRange& r : ranges) {
      if (r.first > r.last || r.last >= length) std::abort();
    }
  }
  return 0;
}
