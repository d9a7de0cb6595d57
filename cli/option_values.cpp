#include "cli/option_values.h"

#include "encoder/codec_table.h"

namespace zv::cli {

std::optional<std::int32_t> parseWholeNumber(std::string_view text, std::int32_t low,
                                             std::int32_t high) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // Ten digits hold every 32-bit value and cannot overflow 64 bits.
  if (i == text.size() || text.size() - i > 10) return std::nullopt;
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  if (negative) value = -value;
  if (value < low || value > high) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::string setWholeNumber(std::int32_t& target, const std::string& value, std::int32_t low,
                           std::int32_t high, const char* what) {
  const std::optional<std::int32_t> number = parseWholeNumber(value, low, high);
  if (!number) {
    return std::string(what) + " must be a whole number from " + std::to_string(low) + " to " +
           std::to_string(high) + ", not '" + value + "'";
  }
  target = *number;
  return {};
}

std::optional<int> codecIndexFromName(const std::string& name) {
  if (name == "lowspeech") return kLowerCodecIndex;
  if (name == "speech") return kSpeechCodecIndex;
  if (name == "music") return kMusicCodecIndex;
  if (name.size() == 1 && name[0] >= '0' && name[0] <= '9') {
    const int index = name[0] - '0';
    if (codecTableRow(kCodecTable, index)) return index;
  }
  return std::nullopt;
}

}  // namespace zv::cli
