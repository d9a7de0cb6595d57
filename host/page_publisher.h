// Publishing one page: every ZvTavelwork component's span is filled with what
// the component's Expand entry appends; everything else, the WEBBOT comments
// included, stays as it was, so a published page can be published again.
// The span of the first component that expands to markup also gets the
// <script> element of the web player (player/player_files.h), which plays the
// applet markup in browsers without Java; it loads the player from that
// component's codebase (the class folder), or from the page's own folder
// when the codebase is empty.
#ifndef ZV_HOST_PAGE_PUBLISHER_H
#define ZV_HOST_PAGE_PUBLISHER_H

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <zv/webbot_host.h>

namespace zv::host {

struct PageDiagnostic {
  bool error;                         // false: a warning; the page is still published
  std::optional<std::size_t> offset;  // byte offset in the page, when the problem has a place
  std::string message;
};

struct PublishedPage {
  bool ok = false;   // false: the page cannot be published; `text` is empty
  std::string text;  // the published page
  std::vector<PageDiagnostic> diagnostics;
};

// Supplies the Expand entry when the first component needs it; returns null
// and sets `why` when the component library cannot be loaded.
using ExpandSource = std::function<ZvTavelworkExpandFn(std::string& why)>;

// Publishes `page`. Errors (the page is not published): the page cannot be
// parsed (page_parser.h), a component's element name or attribute list would
// make malformed markup (element_values.h), the Expand entry is unavailable,
// or memory ran out. Warning: a component that expands to nothing (its span
// is then empty), naming the attributes it lacks. A component whose Expand
// call changed its attributes gets its StartSpan comment written anew, each
// value in double quotes with '"', '&' and '>' escaped.
PublishedPage publishPage(std::string_view page, const ExpandSource& expandSource);

}  // namespace zv::host

#endif  // ZV_HOST_PAGE_PUBLISHER_H
