// What the Edit entry reads from a component's attributes into its sheet,
// and what it writes back after OK, with the editor's preview. Qt-free: the
// sheet (edit_sheet.h) shows and changes these values.
//
// Reading (missing or empty values read as 0 or empty text; numbers are
// read as strtol reads them, beyond 32 bits the nearest limit):
//   I-NUMBUTTONS  button index = value - 1
//   I-AUTOPLAY, I-VISIBLE, I-USETEXT, I-HEIGHT, I-WIDTH
//   I-COUNT       -1: "Continuously" with the count field showing 1; any
//                 other value: the count, its text shown as it stands
//   S-CLASS, S-CODEBASE, S-APPLETTAG, S-ALIGN   as they are
//   S-BODY        decoded (&quot; &amp; &gt;)
//   S-ATTRIBS     decoded, then parsed into the attribute set
// Writing, in this order, integers in decimal: PREVIEW, I-NUMBUTTONS,
// I-AUTOPLAY, I-VISIBLE, I-COUNT (-1 for continuously), I-USETEXT, I-HEIGHT,
// I-WIDTH, S-CLASS, S-CODEBASE, S-APPLETTAG, S-ALIGN, S-BODY (encoded),
// S-ATTRIBS (joined, then encoded).
#ifndef ZV_WEBBOT_EDIT_COMPONENT_VALUES_H
#define ZV_WEBBOT_EDIT_COMPONENT_VALUES_H

#include <cstdint>
#include <string>

#include <zv/webbot_host.h>

#include "webbot/attributes/applet_attribute_values.h"

namespace zv::webbot {

struct GeneralValues {
  int buttonIndex = 2;             // button count - 1
  bool autoplay = false;
  bool visible = true;
  bool continuously = false;       // play mode 1
  std::string countText;           // the count field's text
  bool textOnlyPreview = false;    // I-USETEXT
};

struct ComponentValues {
  GeneralValues general;
  RequiredAppletAttributes required;
  OptionalAppletAttributes optional;
};

// True when the component has been set up: I-NUMBUTTONS is present and not
// empty.
bool isComponentSetUp(const ZvHostCallbacks& host, void* attributes);

ComponentValues readComponentValues(const ZvHostCallbacks& host, void* attributes);

// The count field's text as a play count: a base-10 number read as strtol
// reads it, limited to 1..2,147,483,647 from above (longer runs of digits
// count as 2,147,483,647). The sheet has checked the text before.
std::int32_t playCountFromText(const std::string& countText);

// The HTML the editor shows in place of the component:
//   text only: the bracketed product line in a maroon bold Arial font, with
//              the clip name without its extension (the last five
//              characters of S-CLIP), the button count, height and width;
//   otherwise: an IMG element with the preview image for the button count,
//              a file URL into `imageFolder` (ending in "/"; a "botcache"
//              folder in it stands for "bots", as in bot_folder.h).
std::string buildPreview(const ComponentValues& values, const std::string& clip,
                         const std::string& imageFolder);

// Writes every attribute back (see above), PREVIEW first.
void writeComponentValues(const ComponentValues& values, const std::string& preview,
                          const ZvHostCallbacks& host, void* attributes);

}  // namespace zv::webbot

#endif  // ZV_WEBBOT_EDIT_COMPONENT_VALUES_H
