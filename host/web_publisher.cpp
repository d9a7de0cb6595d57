#include "host/web_publisher.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <system_error>
#include <vector>

#include "host/page_parser.h"
#include "platform/ascii_case.h"
#include "platform/whole_file.h"
#include "platform/replacing_file.h"
#include "platform/web_containment.h"

namespace zv::host {

namespace fs = std::filesystem;

namespace {

bool isPage(const fs::path& path) {
  const std::string extension = path.extension().string();
  return equalsIgnoringCase(extension, ".htm") || equalsIgnoringCase(extension, ".html");
}


// Writes `bytes` to a file beside `path` and renames it over `path` when
// complete; false with the reason in `why`.
bool writeWhole(const fs::path& path, std::string_view bytes, std::string& why) {
  ReplacingFile file;
  if (!file.open(path.string())) {
    why = std::strerror(errno);
    return false;
  }
  if (std::fwrite(bytes.data(), 1, bytes.size(), file.stream()) != bytes.size()) {
    why = std::strerror(errno);
    return false;  // the partial file is deleted by the destructor
  }
  if (!file.commit()) {
    why = std::strerror(errno);
    return false;
  }
  return true;
}

// True when `inner` is `outer` or lies inside it (both made absolute and
// normal, following the links that exist).
bool isSameOrInside(const fs::path& inner, const fs::path& outer) {
  std::error_code ec;
  const fs::path a = fs::weakly_canonical(fs::absolute(inner, ec), ec);
  const fs::path b = fs::weakly_canonical(fs::absolute(outer, ec), ec);
  auto ai = a.begin();
  for (auto bi = b.begin(); bi != b.end(); ++bi, ++ai) {
    if (bi->empty()) continue;  // the empty last element of a path ending in '/'
    if (ai == a.end() || *ai != *bi) return false;
  }
  return true;
}

}  // namespace

WebPublisher::WebPublisher(ExpandSource expandSource, std::ostream& messages)
    : expand_source_(std::move(expandSource)), messages_(messages) {}

void WebPublisher::report(const fs::path& path, const char* kind, const std::string& message) {
  messages_ << path.string() << ": " << kind << ": " << message << '\n';
}

bool WebPublisher::publishFile(const fs::path& page, std::string& published) {
  std::string text;
  std::string why;
  if (!readWholeFile(page.string(), text, why)) {
    report(page, "error", "cannot read the page: " + why);
    return false;
  }
  PublishedPage result = publishPage(text, expand_source_);
  for (const PageDiagnostic& d : result.diagnostics) {
    const char* kind = d.error ? "error" : "warning";
    if (d.offset) {
      const TextPosition at = positionOf(text, *d.offset);
      messages_ << page.string() << ':' << at.line << ':' << at.column << ": " << kind << ": "
                << d.message << '\n';
    } else {
      report(page, kind, d.message);
    }
  }
  if (!result.ok) return false;
  published = std::move(result.text);
  return true;
}

int WebPublisher::expandPage(const fs::path& page, std::ostream& out) {
  std::string published;
  if (!publishFile(page, published)) return kStatusFailed;
  out.write(published.data(), static_cast<std::streamsize>(published.size()));
  out.flush();
  if (!out) {
    report(page, "error", "cannot write the published page");
    return kStatusFailed;
  }
  return kStatusOk;
}

int WebPublisher::publishWeb(const fs::path& web, const fs::path& out) {
  std::error_code ec;
  if (!fs::is_directory(web, ec)) {
    report(web, "error", "not a folder");
    return kStatusBadUsage;
  }
  if (isSameOrInside(out, web)) {
    report(out, "error", "the output folder must not be the web folder nor lie inside it");
    return kStatusBadUsage;
  }

  // The whole listing first, sorted, so that messages come in a stable order.
  std::vector<fs::path> entries;
  for (fs::recursive_directory_iterator it(web, ec), end; !ec && it != end; it.increment(ec)) {
    entries.push_back(it->path());
  }
  if (ec) {
    report(web, "error", "cannot list the web: " + ec.message());
    return kStatusFailed;
  }
  std::sort(entries.begin(), entries.end());

  int pages = 0, copies = 0, failures = 0;
  fs::create_directories(out, ec);
  if (ec) {
    report(out, "error", "cannot create the folder: " + ec.message());
    return kStatusFailed;
  }
  const fs::path canonicalWeb = canonicalWebFolder(web);
  for (const fs::path& source : entries) {
    const fs::path target = out / source.lexically_relative(web);
    if (!liesInsideWeb(canonicalWeb, source)) {
      report(source, "warning", "skipped: a link that leads outside the web");
      continue;
    }
    const fs::file_status link = fs::symlink_status(source, ec);
    const fs::file_status status = fs::status(source, ec);
    if (fs::is_directory(status)) {
      if (fs::is_symlink(link)) {
        report(source, "warning", "skipped: a link to a folder");
        continue;
      }
      fs::create_directories(target, ec);
      if (ec) {
        report(target, "error", "cannot create the folder: " + ec.message());
        ++failures;
      }
      continue;
    }
    if (!fs::is_regular_file(status)) {
      report(source, "warning", "skipped: not a regular file");
      continue;
    }

    std::string bytes;
    std::string why;
    if (isPage(source)) {
      if (!publishFile(source, bytes)) {
        ++failures;
        continue;
      }
    } else if (!readWholeFile(source.string(), bytes, why)) {
      report(source, "error", "cannot read the file: " + why);
      ++failures;
      continue;
    }
    if (!writeWhole(target, bytes, why)) {
      report(target, "error", "cannot write the file: " + why);
      ++failures;
      continue;
    }
    ++(isPage(source) ? pages : copies);
  }

  messages_ << "webhost: published " << pages << (pages == 1 ? " page" : " pages") << ", copied "
            << copies << (copies == 1 ? " file" : " files");
  if (failures) messages_ << "; " << failures << (failures == 1 ? " failure" : " failures");
  messages_ << '\n';
  return failures ? kStatusFailed : kStatusOk;
}

}  // namespace zv::host
