// Reading the values of zvsa's options: whole numbers in a range and codec
// names, each the whole text and nothing else.
#ifndef ZV_CLI_OPTION_VALUES_H
#define ZV_CLI_OPTION_VALUES_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zv::cli {

// A decimal whole number in [low, high] with an optional sign; nothing for
// any other text (spaces included).
std::optional<std::int32_t> parseWholeNumber(std::string_view text, std::int32_t low,
                                             std::int32_t high);

// Stores parseWholeNumber(value, low, high) in `target`; returns "" or
// "<what> must be a whole number from <low> to <high>, not '<value>'".
std::string setWholeNumber(std::int32_t& target, const std::string& value, std::int32_t low,
                           std::int32_t high, const char* what);

// The codec table row a --codec value names ("lowspeech", "speech",
// "music", or a row number); nothing when it names none.
std::optional<int> codecIndexFromName(const std::string& name);

}  // namespace zv::cli

#endif  // ZV_CLI_OPTION_VALUES_H
