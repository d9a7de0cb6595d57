// The WEBBOT comment text that puts one ZvTavelwork component on a page: a
// StartSpan comment carrying the preview and the thirteen values, an empty
// span, and the EndSpan comment. Sixteen lines, each ending in CR LF:
//
//   <p><!--WEBBOT bot="ZvTavelwork" StartSpan PREVIEW="&lt;IMG SRC=&quot;IMAGE&quot; HEIGHT=&quot;H&quot; WIDTH=&quot;W&quot;&gt;"
//    I-NUMBUTTONS="N" 
//   I-AUTOPLAY="A" 
//   I-VISIBLE="V" 
//   I-COUNT="CNT" 
//   I-HEIGHT="H" 
//   I-WIDTH="W" 
//   S-CLASS="CLASS" 
//   S-CODEBASE="CODEBASE" 
//   S-APPLETTAG="TAG" 
//   S-ALIGN="ALIGN" 
//   S-BODY="BODY" 
//   S-ATTRIBS="ATTRIBS" 
//   S-CLIP="CLIP" -->
//
//   <!--WEBBOT bot="ZvTavelwork" EndSpan --><p>
//
// (line 2 begins with a space; lines 2 to 13 end with a space before CR LF;
// line 15 is empty). BODY and ATTRIBS are always encoded (attribute_encoding.h).
//
// The other texts are written as they are when they hold none of the three
// characters " & >, which is every value the system itself produces. A value
// that does hold one is encoded the same way, so that it cannot end its
// quoted value or the comment early and reads back unchanged through a host
// that decodes character references; the image URL, which sits inside a
// quoted value inside the PREVIEW value, is encoded twice for the same
// reason.
#ifndef ZV_WEBBOT_WEBBOT_TEXT_H
#define ZV_WEBBOT_WEBBOT_TEXT_H

#include <cstdint>
#include <string>
#include <string_view>

#include "webbot/markup/applet_settings.h"

namespace zv::webbot {

// The WEBBOT text for one component.
// settings:        the applet settings; bodyText and otherAttributes are the
//                  plain (not yet encoded) texts; codebase is the value the
//                  page's component carries (the insertion program passes its
//                  class folder or an empty text). Null texts count as empty.
// previewImageUrl: the image the editor shows for the component.
// clipName:        the clip's file name, relative to the page.
std::string formatWebBotText(const AppletSettings& settings, std::string_view previewImageUrl,
                             std::string_view clipName);

// The preview image for a button count: 2 gives "FPTwoButton.gif",
// 3 "FPThreeButton.gif", any other count "FPOneButton.gif". The one name of
// the images for every caller: the insertion program, zvsa and the Edit entry
// (whose sheet holds a button index: it asks for index + 1).
const char* previewImageName(std::int32_t buttonCount);

}  // namespace zv::webbot

#endif  // ZV_WEBBOT_WEBBOT_TEXT_H
