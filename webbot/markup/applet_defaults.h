// The applet settings that a fresh settings store gives the wizard: what the
// applet page shows before the author changes anything, and what the command
// line uses when an option is not given.
#ifndef ZV_WEBBOT_MARKUP_APPLET_DEFAULTS_H
#define ZV_WEBBOT_MARKUP_APPLET_DEFAULTS_H

#include <cstdint>
#include <string_view>

namespace zv::applet_defaults {

inline constexpr std::int32_t kButtonCount = 2;     // "Two buttons"
inline constexpr std::int32_t kAutoplay = 0;
inline constexpr std::int32_t kVisible = 1;
inline constexpr std::int32_t kPlayCount = 1;       // play once
inline constexpr std::int32_t kHeight = 32;
inline constexpr std::int32_t kWidth = 64;          // height x buttons, "Calculate Width" is on
inline constexpr bool kCalculateWidth = true;
inline constexpr std::int32_t kLargestDimension = 32767;  // the calculated width stops here
inline constexpr char kClassName[] = "ZvStreamPlayer.class";
inline constexpr char kCodebase[] = "/Java/ZvTavelwork";
inline constexpr char kTag[] = "APPLET";
inline constexpr char kAlignment[] = "middle";
// String 30000: the body text.
inline constexpr char kBodyText[] =
    "This browser is aware of Java applets, but is unable to execute them.";
// With no attribute list stored, the attribute map holds one entry: ALT with
// string 30001, a sentence enclosed in double quotes.
inline constexpr char kAltName[] = "ALT";
inline constexpr char kAltValue[] = "\"Java is not available in this browser\"";
// The same entry as the other-attributes text it joins to.
inline constexpr char kOtherAttributes[] = "ALT=\"Java is not available in this browser\"";
static_assert(std::string_view(kOtherAttributes).substr(0, sizeof kAltName - 1) == kAltName &&
              kOtherAttributes[sizeof kAltName - 1] == '=' &&
              std::string_view(kOtherAttributes).substr(sizeof kAltName) == kAltValue);

// Width for the calculate-width rule: height x button count, at most 32767.
constexpr std::int32_t calculatedWidth(std::int32_t height, std::int32_t buttonCount) {
  const std::int64_t product = static_cast<std::int64_t>(height) * buttonCount;
  return product < kLargestDimension ? static_cast<std::int32_t>(product) : kLargestDimension;
}

static_assert(calculatedWidth(kHeight, kButtonCount) == kWidth);

}  // namespace zv::applet_defaults

#endif  // ZV_WEBBOT_MARKUP_APPLET_DEFAULTS_H
