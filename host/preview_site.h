// What `webhost preview` answers for each request path: the files of a web,
// with every page published as it is requested (page_publisher.h), so the
// author sees the pages as visitors will, each with its working player.
//
//   /path/            the folder's index page (index.htm, index.html,
//                     default.htm, default.html), or a listing of the folder
//   /path/folder      a redirection to /path/folder/
//   /path/page.htm    the page, published (.htm and .html, any letter case)
//   /path/file        the file as it is, with its media type
//
// The web player's files (player_files.h) that a web does not hold itself
// are answered from the player folder of the installation, so that a page
// plays before the player has been copied into its class folder. What lies
// outside the web (web_containment.h: ".." segments, NUL bytes, links out of
// the web) is refused with 403; dotfiles and dot-folders are not served (404)
// nor listed.
#ifndef ZV_HOST_PREVIEW_SITE_H
#define ZV_HOST_PREVIEW_SITE_H

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <ostream>
#include <string>
#include <string_view>

#include "host/page_publisher.h"

namespace zv::host {

// An open file whose bytes a reply sends: owned, closed with the reply.
class OpenFile {
 public:
  OpenFile() = default;
  OpenFile(int descriptor, std::uint64_t size) : descriptor_(descriptor), size_(size) {}
  ~OpenFile();
  OpenFile(OpenFile&& other) noexcept;
  OpenFile& operator=(OpenFile&& other) noexcept;
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;

  bool isOpen() const { return descriptor_ >= 0; }
  int descriptor() const { return descriptor_; }
  std::uint64_t size() const { return size_; }

 private:
  int descriptor_ = -1;
  std::uint64_t size_ = 0;
};

struct PreviewReply {
  int status = 200;         // 200, 301, 403, 404 or 500 (a file that cannot be read)
  std::string contentType;  // media type of `body`
  std::string body;         // empty when `file` is open
  std::string location;     // with 301: where the resource is
  // A file larger than kFileBytesInMemory is not read: its bytes are sent
  // from here, block by block, and `body` stays empty.
  OpenFile file;

  std::uint64_t size() const { return file.isOpen() ? file.size() : body.size(); }
};

// Files up to this size are read into the reply; larger ones are streamed.
inline constexpr std::uint64_t kFileBytesInMemory = 256 * 1024;

// The media type of a file by its extension: text/html for pages,
// application/wasm, text/javascript, image types, ...;
// application/octet-stream for the rest (the .zvsa clips among them).
std::string mediaTypeOf(const std::filesystem::path& file);

class PreviewSite {
 public:
  // `playerFolder` may be empty (no player files but the web's own).
  // Publishing problems of pages are written to `log`, one line each.
  PreviewSite(std::filesystem::path web, std::filesystem::path playerFolder,
              ExpandSource expandSource, std::ostream& log);

  // The reply for `path`, a request path already percent-decoded, beginning
  // with '/'. Safe to call from several threads.
  PreviewReply get(std::string_view path);

 private:
  PreviewReply serveFile(const std::filesystem::path& file, std::string_view path);
  PreviewReply serveFolder(const std::filesystem::path& folder, std::string_view path);
  PreviewReply publish(const std::filesystem::path& page, std::string_view path);

  std::filesystem::path web_;  // canonical
  std::filesystem::path player_folder_;
  ExpandSource expand_source_;
  std::ostream& log_;
  std::mutex mutex_;  // publishing and the log are one request at a time
};

}  // namespace zv::host

#endif  // ZV_HOST_PREVIEW_SITE_H
