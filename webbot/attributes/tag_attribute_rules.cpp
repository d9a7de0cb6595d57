#include "webbot/attributes/tag_attribute_rules.h"

#include <QChar>
#include <QList>
#include <QString>

namespace zv {

namespace {

bool holdsSpace(std::string_view value) { return value.find(' ') != std::string_view::npos; }

}  // namespace

bool isQuotedValue(std::string_view value) {
  return !value.empty() && value.front() == '"' && value.back() == '"';
}

bool valueNeedsQuoteRepair(std::string_view value) {
  return holdsSpace(value) && !isQuotedValue(value);
}

std::string repairValueQuotes(std::string_view value) {
  std::string repaired(value);
  if (repaired.empty() || repaired.front() != '"') repaired.insert(repaired.begin(), '"');
  if (!isQuotedValue(repaired)) repaired.push_back('"');
  return repaired;
}

std::string innerValue(std::string_view value) {
  if (!holdsSpace(value) && !isQuotedValue(value)) return std::string(value);
  if (value.size() < 2) return {};
  return std::string(value.substr(1, value.size() - 2));
}

bool hasInnerQuote(std::string_view value) {
  return innerValue(value).find('"') != std::string::npos;
}

std::optional<char32_t> firstBadNameCharacter(const QString& name) {
  for (const char32_t c : name.toUcs4()) {
    if (c == U'-' || QChar::isLetterOrNumber(c)) continue;
    return c;
  }
  return std::nullopt;
}

}  // namespace zv
