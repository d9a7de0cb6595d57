// The applet markup generator: turns applet settings and a clip reference into
// the APPLET (or OBJECT) element that embeds the player on a page.
//
// With the settings 3 buttons, no autoplay, visible, count 1, height 32,
// width 96, "ZvStreamPlayer.class", "/Java/ZvTavelwork", "APPLET", "middle",
// no body text, no other attributes and the clip "clip.zvsa", the text is
//
//   <APPLET WIDTH="96" HEIGHT="32" CODE="ZvStreamPlayer.class" CODEBASE="/Java/ZvTavelwork" ALIGN="middle">
//       <PARAM NAME="Clip" VALUE="clip.zvsa">
//       <PARAM NAME="Visible" VALUE="yes">
//       <PARAM NAME="Buttons" VALUE="3">
//       <PARAM NAME="Autoplay" VALUE="no">
//       <PARAM NAME="Count" VALUE="1">
//   </APPLET>
//
// every line ending in the chosen line end. An invisible player gets WIDTH
// and HEIGHT 0 and no Buttons line; a tag other than "applet" (any letter
// case) names the class with CODETYPE="application/java" CLASSID="java:...";
// CODEBASE, ALIGN and the other attributes appear only when not empty; the
// body text, when not empty, is its own line before the closing tag.
//
// No value is escaped: every text is written byte for byte, so the caller
// hands in texts that are already what the page must contain.
#ifndef ZV_WEBBOT_MARKUP_APPLET_MARKUP_H
#define ZV_WEBBOT_MARKUP_APPLET_MARKUP_H

#include <cstdint>

#include <zv/system_string.h>
#include "webbot/markup/applet_settings.h"

namespace zv {

// Line-end flag values.
inline constexpr std::int32_t kMarkupLinesEndCrLf = 0;  // for a multi-line edit box
inline constexpr std::int32_t kMarkupLinesEndLf = 1;    // for a page (any non-zero value)

// Builds the markup and stores it in `*slot`: a new system string when the
// slot is null, else the slot's string is reallocated (SysReAllocString).
// The caller owns the string afterwards.
//
// settings:      read only; null texts count as empty.
// clipReference: value of the Clip parameter (a URL relative to the page);
//                null counts as empty.
// lineEndFlag:   0 ends every line with CR LF, any other value with LF.
// Returns true when the markup was stored; false when `slot` is null or a
// memory request failed, in which case `*slot` is left exactly as it was.
// Texts of any length are written whole.
bool GenerateAppletMarkup(const AppletSettings& settings, const char* clipReference,
                          SystemString* slot, std::int32_t lineEndFlag);

}  // namespace zv

#endif  // ZV_WEBBOT_MARKUP_APPLET_MARKUP_H
