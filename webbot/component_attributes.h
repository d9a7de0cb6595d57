// The attribute vocabulary of the ZvTavelwork web component: the bot name and
// the keys of the values its WEBBOT comment carries. Every value is text;
// integers are written in decimal.
#ifndef ZV_WEBBOT_COMPONENT_ATTRIBUTES_H
#define ZV_WEBBOT_COMPONENT_ATTRIBUTES_H

#include <cstddef>

namespace zv::webbot {

inline constexpr char kBotName[] = "ZvTavelwork";

inline constexpr char kKeyNumButtons[] = "I-NUMBUTTONS";  // 1..3; empty or missing: not set up yet
inline constexpr char kKeyAutoplay[] = "I-AUTOPLAY";      // 0/1
inline constexpr char kKeyVisible[] = "I-VISIBLE";        // 0/1
inline constexpr char kKeyCount[] = "I-COUNT";            // play count, -1 = continuously
inline constexpr char kKeyHeight[] = "I-HEIGHT";          // pixels
inline constexpr char kKeyWidth[] = "I-WIDTH";            // pixels
inline constexpr char kKeyUseText[] = "I-USETEXT";        // 0/1: editor shows text, not an image
inline constexpr char kKeyClass[] = "S-CLASS";            // applet class name
inline constexpr char kKeyCodebase[] = "S-CODEBASE";      // URL path, may be empty
inline constexpr char kKeyAppletTag[] = "S-APPLETTAG";    // "APPLET" or "OBJECT"
inline constexpr char kKeyAlign[] = "S-ALIGN";            // may be empty
inline constexpr char kKeyBody[] = "S-BODY";              // body text, encoded
inline constexpr char kKeyAttribs[] = "S-ATTRIBS";        // other attributes, encoded
inline constexpr char kKeyClip[] = "S-CLIP";              // clip file name, relative to the page
inline constexpr char kKeyPreview[] = "PREVIEW";          // HTML the editor shows for the component

// The thirteen keys the Expand entry reads, in the order it asks for them:
// the six integers, the six texts of the applet settings, then the clip.
inline constexpr std::size_t kExpandKeyCount = 13;
inline constexpr const char* kExpandKeys[kExpandKeyCount] = {
    kKeyNumButtons, kKeyAutoplay,  kKeyVisible,   kKeyCount, kKeyHeight,
    kKeyWidth,      kKeyClass,     kKeyCodebase,  kKeyAppletTag,
    kKeyAlign,      kKeyBody,      kKeyAttribs,   kKeyClip};

}  // namespace zv::webbot

#endif  // ZV_WEBBOT_COMPONENT_ATTRIBUTES_H
