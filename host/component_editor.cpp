#include "host/component_editor.h"

#include <algorithm>

#include "host/character_references.h"
#include "platform/ascii_case.h"
#include "platform/html_escape.h"
#include "webbot/component_attributes.h"

namespace zv::host {

namespace {

extern "C" const char* getAttributeCallback(void* handle, const char* key) {
  if (!handle || !key) return nullptr;
  return static_cast<ComponentEditor*>(handle)->get(key);
}

extern "C" void setAttributeCallback(void* handle, const char* key, const char* value) {
  if (!handle || !key) return;
  static_cast<ComponentEditor*>(handle)->set(key, value ? value : "");
}

}  // namespace

ComponentEditor::ComponentEditor(std::string page, PageComponent component)
    : page_(std::move(page)), component_(std::move(component)) {
  callbacks_.GetAttribute = &getAttributeCallback;
  callbacks_.SetAttribute = &setAttributeCallback;
}

std::string ComponentEditor::writtenForm(std::string_view key, std::string_view value) {
  const bool componentEncoded =
      equalsIgnoringCase(key, webbot::kKeyBody) || equalsIgnoringCase(key, webbot::kKeyAttribs);
  if (componentEncoded && value.find('"') == std::string_view::npos) return std::string(value);
  return escapeHtmlText(value);
}

const ComponentEditor::Change* ComponentEditor::findChange(std::string_view key) const {
  for (const Change& change : changes_)
    if (equalsIgnoringCase(change.key, key)) return &change;
  return nullptr;
}

const char* ComponentEditor::get(std::string_view key) {
  if (const Change* change = findChange(key)) {
    last_get_ = change->readBack;
  } else if (const ComponentAttribute* attribute = component_.find(key)) {
    last_get_ = attribute->value;
  } else {
    return nullptr;
  }
  return last_get_.c_str();
}

void ComponentEditor::set(std::string_view key, std::string_view value) {
  Change fresh{std::string(key), writtenForm(key, value), {}};
  fresh.readBack = decodeCharacterReferences(fresh.written);
  for (Change& change : changes_) {
    if (equalsIgnoringCase(change.key, key)) {
      change.written = std::move(fresh.written);
      change.readBack = std::move(fresh.readBack);
      return;
    }
  }
  changes_.push_back(std::move(fresh));
}

bool ComponentEditor::differsFromPage(const Change& change) const {
  const ComponentAttribute* attribute = component_.find(change.key);
  return !attribute || attribute->value != change.readBack;
}

bool ComponentEditor::changed() const {
  return std::any_of(changes_.begin(), changes_.end(),
                     [this](const Change& change) { return differsFromPage(change); });
}

std::string ComponentEditor::editedPage() const {
  // Edits from the back of the page to the front, so that offsets stay valid.
  struct Edit {
    std::size_t begin;
    std::size_t end;
    std::string text;
  };
  std::vector<Edit> edits;
  std::size_t insertAt = component_.startTextEnd;
  while (insertAt > component_.startBegin && (page_[insertAt - 1] == ' ' || page_[insertAt - 1] == '\t' ||
                                              page_[insertAt - 1] == '\r' || page_[insertAt - 1] == '\n'))
    --insertAt;
  std::string added;
  for (const Change& change : changes_) {
    if (!differsFromPage(change)) continue;
    if (const ComponentAttribute* attribute = component_.find(change.key)) {
      edits.push_back({attribute->valueBegin, attribute->valueEnd, "\"" + change.written + "\""});
    } else {
      added += " " + change.key + "=\"" + change.written + "\"";
    }
  }
  if (!added.empty()) edits.push_back({insertAt, insertAt, added});
  std::sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) { return a.begin > b.begin; });
  std::string page = page_;
  for (const Edit& edit : edits) page.replace(edit.begin, edit.end - edit.begin, edit.text);
  return page;
}

}  // namespace zv::host
