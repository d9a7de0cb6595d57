// The web and the page that `webhost serve` offers to automation clients:
// the answers to the Explorer's and the Editor's calls, on a real folder.
//
// The web's URL is "file://" and the folder's absolute path (percent-encoded)
// unless another URL is given. Web paths and URLs from clients are mapped
// back to files with the same split of the web URL that clients use
// (automation/web_url.h): a web path begins with the web part; the
// rest, percent-decoded, is the file's path inside the folder. Paths that
// would leave the folder are refused.
#ifndef ZV_HOST_SERVED_WEB_H
#define ZV_HOST_SERVED_WEB_H

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "automation/web_url.h"

namespace zv::host {

struct ServeOptions {
  std::filesystem::path web;             // the web's folder
  std::filesystem::path page;            // the page being edited: inside the web, relative to it or absolute
  std::optional<std::string> url;        // the web's URL, when it is not the folder's file URL
  std::optional<std::uint64_t> at;       // insertion point: a byte offset into the page
  std::optional<std::string> marker;     // insertion point: just before the first occurrence of this text
  bool verbose = false;                  // log every call on stderr
};

class ServedWeb {
 public:
  // Checks the folder, the page and the insertion point. nullopt, with the
  // reason in `error`, when they cannot be served.
  static std::optional<ServedWeb> open(const ServeOptions& options, std::string& error);

  const std::string& webUrl() const { return web_url_; }
  std::string pageUrl() const;
  const std::filesystem::path& folder() const { return folder_; }
  const std::filesystem::path& page() const { return page_; }

  // The file or folder a web path (or a full URL) names; nullopt when it is
  // not in this web.
  std::optional<std::filesystem::path> fileForWebPath(std::string_view webPath) const;
  std::optional<std::filesystem::path> fileForUrl(std::string_view url) const;

  bool fileExists(std::string_view url) const;
  // Makes the folder (and any missing parents). True when it exists after.
  bool makeFolder(std::string_view webPath, std::string& why) const;
  // Copies a local file into the web, replacing a file there only when
  // `replace` is set. The copy appears complete or not at all.
  bool addFile(std::string_view localPath, std::string_view webPath, bool replace, std::string& why) const;
  // Takes a file out of the web. True when no file is there afterwards (one
  // that never was counts); a folder is not taken out.
  bool removeFile(std::string_view webPath, std::string& why) const;
  // Inserts `text` at the insertion point and saves the page atomically,
  // keeping its file mode; the insertion point then lies after the text. A
  // read-only page is not saved.
  bool insertText(std::string_view text, std::string& why);

 private:
  ServedWeb() = default;

  std::filesystem::path folder_;        // absolute, normalised
  std::filesystem::path page_;          // absolute
  std::string web_url_;
  automation::WebUrlParts parts_;
  std::optional<std::uint64_t> caret_;  // nullopt: the end of the page
};

}  // namespace zv::host

#endif  // ZV_HOST_SERVED_WEB_H
