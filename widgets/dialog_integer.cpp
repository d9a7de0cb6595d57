#include "widgets/dialog_integer.h"

#include <climits>

namespace zv {

namespace {

// The dialog layer's texts.
constexpr StringTableEntry kDialogStrings[] = {
    {kIdsParseInteger, "Please enter an integer."},
    {kIdsParseIntegerRange, "Please enter an integer between %1 and %2."},
};

void replaceFirst(std::string& text, std::string_view placeholder, const std::string& value) {
  const std::size_t at = text.find(placeholder);
  if (at != std::string::npos) text.replace(at, placeholder.size(), value);
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// Reads an optional sign and the digits from `at`; `digits` counts them.
// The magnitude saturates just past the int range so that callers can tell.
long long readSignedDigits(std::string_view text, std::size_t& at, int& digits) {
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  long long magnitude = 0;
  digits = 0;
  for (; at < text.size() && isDigit(text[at]); ++at, ++digits) {
    if (magnitude <= static_cast<long long>(INT_MAX) + 1) magnitude = magnitude * 10 + (text[at] - '0');
  }
  return negative ? -magnitude : magnitude;
}

}  // namespace

std::optional<int> parseDialogInteger(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && isBlank(text[at])) ++at;
  int digits = 0;
  const long long value = readSignedDigits(text, at, digits);
  if (digits == 0) return std::nullopt;
  while (at < text.size() && isBlank(text[at])) ++at;
  if (at != text.size()) return std::nullopt;
  if (value < INT_MIN || value > INT_MAX) return std::nullopt;
  return static_cast<int>(value);
}

int leadingInteger(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && isWhiteSpace(text[at])) ++at;
  int digits = 0;
  const long long value = readSignedDigits(text, at, digits);
  if (value < INT_MIN) return INT_MIN;
  if (value > INT_MAX) return INT_MAX;
  return static_cast<int>(value);
}

StringTable dialogStringTable() { return kDialogStrings; }

std::string integerMessage() { return loadString(kDialogStrings, kIdsParseInteger); }

std::string integerRangeMessage(int low, int high) {
  std::string text = loadString(kDialogStrings, kIdsParseIntegerRange);
  replaceFirst(text, "%1", std::to_string(low));
  replaceFirst(text, "%2", std::to_string(high));
  return text;
}

}  // namespace zv
