#include "host/element_values.h"

#include "platform/ascii_case.h"
#include "webbot/component_attributes.h"

namespace zv::host {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isElementName(std::string_view name) {
  if (name.empty() || !isLetter(name[0])) return false;
  for (char c : name) {
    if (!isLetter(c) && !isDigit(c) && c != '-' && c != '_' && c != ':' && c != '.') return false;
  }
  return true;
}

// Why `list` is not a well-formed attribute list, or nothing when it is.
std::optional<std::string> attributeListProblem(std::string_view list) {
  auto endsName = [](char c) {
    return isSpace(c) || c == '"' || c == '\'' || c == '<' || c == '>' || c == '/' || c == '=';
  };
  auto endsUnquoted = [](char c) {
    return isSpace(c) || c == '"' || c == '\'' || c == '=' || c == '<' || c == '>' || c == '`';
  };
  std::size_t pos = 0;
  while (pos < list.size()) {
    while (pos < list.size() && isSpace(list[pos])) ++pos;
    if (pos == list.size()) break;
    const std::size_t nameBegin = pos;
    while (pos < list.size() && !endsName(list[pos])) ++pos;
    if (pos == nameBegin)
      return "unexpected '" + std::string(1, list[pos]) + "' where an attribute name should be";
    const std::string name(list.substr(nameBegin, pos - nameBegin));
    if (pos == list.size() || isSpace(list[pos])) continue;
    if (list[pos] != '=') return "unexpected '" + std::string(1, list[pos]) + "' after " + name;
    ++pos;
    if (pos < list.size() && (list[pos] == '"' || list[pos] == '\'')) {
      const std::size_t close = list.find(list[pos], pos + 1);
      if (close == std::string_view::npos) return "the value of " + name + " has no closing quote";
      pos = close + 1;
      if (pos < list.size() && !isSpace(list[pos]))
        return "no space after the quoted value of " + name;
      continue;
    }
    const std::size_t valueBegin = pos;
    while (pos < list.size() && !endsUnquoted(list[pos])) ++pos;
    if (pos == valueBegin) return name + " has '=' but no value";
    if (pos < list.size() && !isSpace(list[pos]))
      return "unexpected '" + std::string(1, list[pos]) + "' in the value of " + name;
  }
  return std::nullopt;
}

}  // namespace

std::optional<PageError> checkElementValues(const PageComponent& component) {
  if (const ComponentAttribute* tag = component.find(webbot::kKeyAppletTag)) {
    if (!isElementName(tag->value))
      return PageError{tag->offset, "S-APPLETTAG \"" + tag->value + "\" is not an element name"};
    if (isRawTextElement(tag->value))
      return PageError{tag->offset, "S-APPLETTAG \"" + tag->value +
                                        "\" names an element whose content is text; it cannot "
                                        "hold the player's parameters"};
  }
  if (const ComponentAttribute* body = component.find(webbot::kKeyBody)) {
    const ParsedPage parsed = parsePage(body->value);
    if (parsed.error)
      return PageError{body->offset, "S-BODY is not complete HTML: " + parsed.error->message};
    if (!parsed.components.empty())
      return PageError{body->offset, "S-BODY holds a WEBBOT component"};
    if (parsed.openRawTextElement)
      return PageError{body->offset, "S-BODY leaves a <" + *parsed.openRawTextElement +
                                         "> element open to the end of the page"};
  }
  if (const ComponentAttribute* list = component.find(webbot::kKeyAttribs)) {
    if (std::optional<std::string> problem = attributeListProblem(list->value))
      return PageError{list->offset, "S-ATTRIBS is not a list of HTML attributes: " + *problem};
  }
  return std::nullopt;
}

}  // namespace zv::host
