// The applet settings: the twelve values that describe one player on a page
// and from which the applet markup is generated.
#ifndef ZV_WEBBOT_MARKUP_APPLET_SETTINGS_H
#define ZV_WEBBOT_MARKUP_APPLET_SETTINGS_H

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace zv {

// The fields keep the order of the wizard's result record (offsets 0 to 44 of
// its 32-bit layout): six 32-bit integers, then six texts. On this 64-bit
// platform the texts are 8-byte pointers, so the record is 72 bytes instead
// of 48 and the texts sit at 24, 32, ..., 64; the order is what is kept, and
// the wizard's result record begins with exactly these fields.
//
// Texts are zero-terminated 8-bit strings, read only and owned by whoever
// fills the record. Null is taken as the empty text everywhere.
struct AppletSettings {
  std::int32_t buttonCount = 0;         // 0: player buttons, 1..3 in practice
  std::int32_t autoplay = 0;            // 4: 0 or non-zero: starts playing by itself
  std::int32_t visible = 0;             // 8: 0 or non-zero: the player is shown
  std::int32_t playCount = 0;           // 12: number of plays; -1 = continuously
  std::int32_t height = 0;              // 16: applet height in pixels (before width)
  std::int32_t width = 0;               // 20: applet width in pixels
  const char* className = nullptr;      // 24: applet class, e.g. "ZvStreamPlayer.class"
  const char* codebase = nullptr;       // 28 (32 here): URL path of the class files, may be empty
  const char* tag = nullptr;            // 32 (40): element name, "APPLET" or "OBJECT"
  const char* alignment = nullptr;      // 36 (48): ALIGN value, may be empty
  const char* bodyText = nullptr;       // 40 (56): text inside the element, may be empty
  const char* otherAttributes = nullptr;  // 44 (64): "name=value" items joined by single spaces
};

static_assert(std::is_standard_layout_v<AppletSettings>);
static_assert(offsetof(AppletSettings, buttonCount) == 0);
static_assert(offsetof(AppletSettings, autoplay) == 4);
static_assert(offsetof(AppletSettings, visible) == 8);
static_assert(offsetof(AppletSettings, playCount) == 12);
static_assert(offsetof(AppletSettings, height) == 16);
static_assert(offsetof(AppletSettings, width) == 20);
static_assert(offsetof(AppletSettings, className) == 24);
static_assert(offsetof(AppletSettings, codebase) == 24 + 1 * sizeof(void*));
static_assert(offsetof(AppletSettings, tag) == 24 + 2 * sizeof(void*));
static_assert(offsetof(AppletSettings, alignment) == 24 + 3 * sizeof(void*));
static_assert(offsetof(AppletSettings, bodyText) == 24 + 4 * sizeof(void*));
static_assert(offsetof(AppletSettings, otherAttributes) == 24 + 5 * sizeof(void*));

}  // namespace zv

#endif  // ZV_WEBBOT_MARKUP_APPLET_SETTINGS_H
