// Publishing a web (a folder of pages and other files) and expanding single
// pages, with messages for the author.
#ifndef ZV_HOST_WEB_PUBLISHER_H
#define ZV_HOST_WEB_PUBLISHER_H

#include <filesystem>
#include <ostream>

#include "host/page_publisher.h"

namespace zv::host {

// Exit statuses of the publishing commands.
inline constexpr int kStatusOk = 0;
inline constexpr int kStatusFailed = 1;    // some page or file could not be published
inline constexpr int kStatusBadUsage = 2;  // arguments that cannot work

class WebPublisher {
 public:
  // `messages` receives one line per problem: "PATH:LINE:COLUMN: error: ..."
  // (or "warning:"; "PATH: error: ..." when the problem has no place), and a
  // closing summary for a web.
  WebPublisher(ExpandSource expandSource, std::ostream& messages);

  // Publishes every file under `web` into the same place under `out`,
  // creating folders as needed: pages (".htm" and ".html", any letter case)
  // are published (page_publisher.h), other files are copied. Symbolic links
  // to files are followed; links to folders and special files are skipped
  // with a warning. Every file is written beside its destination first and
  // renamed over it when complete. A page that fails is reported and not
  // written. `out` must not be `web` nor lie inside it.
  // Returns kStatusOk, kStatusFailed when any page or file failed, or
  // kStatusBadUsage when `web` is not a folder or `out` lies inside it.
  int publishWeb(const std::filesystem::path& web, const std::filesystem::path& out);

  // Publishes one page into `out` (nothing is written when it fails).
  // Returns kStatusOk or kStatusFailed.
  int expandPage(const std::filesystem::path& page, std::ostream& out);

 private:
  // Reads and publishes one page; reports its diagnostics. False on error.
  bool publishFile(const std::filesystem::path& page, std::string& published);
  void report(const std::filesystem::path& path, const char* kind, const std::string& message);

  ExpandSource expand_source_;
  std::ostream& messages_;
};

}  // namespace zv::host

#endif  // ZV_HOST_WEB_PUBLISHER_H
