// One component of a page opened for the component's Edit entry: the host's
// side of the attribute callbacks, and the page with the changed attributes
// written back.
//
// GetAttribute hands each value decoded from the page, as publishing does.
// SetAttribute values go back into the StartSpan comment as HTML attribute
// values between double quotes: '&', '"', '<' and '>' escaped, so that the
// page reads back exactly the value set. S-BODY and S-ATTRIBS are the
// exception: the component hands them in its own encoding ('"', '&', '>' as
// &quot; &amp; &gt;), which reads back as the decoded text, the form every
// component on a page carries from its insertion; they are stored as they
// are.
//
// Only values that read back differently from what the page holds are
// rewritten; every other byte of the page stays as it was. An attribute the
// comment does not have yet is added after its last attribute.
#ifndef ZV_HOST_COMPONENT_EDITOR_H
#define ZV_HOST_COMPONENT_EDITOR_H

#include <string>
#include <string_view>
#include <vector>

#include <zv/webbot_host.h>

#include "host/page_parser.h"

namespace zv::host {

class ComponentEditor {
 public:
  // `page` is the whole page text; `component` one of parsePage(page)'s.
  ComponentEditor(std::string page, PageComponent component);

  // The callback table for the Edit entry; the attribute handle is `this`.
  const ZvHostCallbacks* callbacks() const { return &callbacks_; }
  void* attributeHandle() { return this; }

  // The value of `key` (its name in the page compared without regard to
  // ASCII case), or null when the component has no such attribute. Values
  // set during the call are returned as they read back from the page.
  const char* get(std::string_view key);
  void set(std::string_view key, std::string_view value);

  // True when some value set reads back differently from the page.
  bool changed() const;
  // The page with every changed value written back.
  std::string editedPage() const;

  // How `value` of `key` is written between the double quotes in the page.
  static std::string writtenForm(std::string_view key, std::string_view value);

 private:
  struct Change {
    std::string key;
    std::string written;   // between the quotes
    std::string readBack;  // what the page will hand out afterwards
  };
  const Change* findChange(std::string_view key) const;
  bool differsFromPage(const Change& change) const;

  std::string page_;
  PageComponent component_;
  std::vector<Change> changes_;  // in the order first set
  std::string last_get_;         // keeps the text handed out by get()
  ZvHostCallbacks callbacks_{};
};

}  // namespace zv::host

#endif  // ZV_HOST_COMPONENT_EDITOR_H
