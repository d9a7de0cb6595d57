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
// Values are encoded here, once, for every caller, and handed in plain:
//   - class name, codebase, alignment and clip reference sit in double
//     quotes: '"', '<', '>' become &quot; &lt; &gt;, and '&' becomes &amp;
//     unless it begins a character reference (&name; &#DDD; &#xHHH;), which
//     a host may hand back as it stands in the page and which is not encoded
//     a second time;
//   - the clip reference is a URL relative to the page: the bytes no URL can
//     hold as they are (controls, space, non-ASCII, "<>\^`{|}) are
//     percent-encoded first; '%', '#' and '?' are URL syntax and stay, so a
//     caller that holds a file name makes it a reference with
//     clipReferenceForPath() (clip_reference.h);
//   - the other attributes are written as they stand when every item is a
//     well-formed attribute (name, or name=value with the value quoted, or
//     unquoted without " ' = < > `); otherwise each item is written again
//     as name="value", encoded, and what cannot begin a name is left out;
//   - the body text is the author's HTML and is written as it stands;
//   - the tag must be an element name (a letter, then letters, digits, '-',
//     '_', ':', '.'): no encoding can make another text one, so such a tag
//     gives no markup (false).
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
// Returns true when the markup was stored; false when `slot` is null, the tag
// is not an element name or a memory request failed, in which case `*slot`
// is left exactly as it was.
// Texts of any length are written whole.
bool GenerateAppletMarkup(const AppletSettings& settings, const char* clipReference,
                          SystemString* slot, std::int32_t lineEndFlag);

}  // namespace zv

#endif  // ZV_WEBBOT_MARKUP_APPLET_MARKUP_H
