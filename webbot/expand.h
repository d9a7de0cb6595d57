// The work of the component's Expand entry: read the thirteen attributes
// through the host's callbacks and append the applet markup.
#ifndef ZV_WEBBOT_EXPAND_H
#define ZV_WEBBOT_EXPAND_H

#include <zv/webbot_host.h>

namespace zv::webbot {

// Asks GetAttribute, with `attributeHandle`, for I-NUMBUTTONS, I-AUTOPLAY,
// I-VISIBLE, I-COUNT, I-HEIGHT, I-WIDTH (each read as a 32-bit number the way
// strtol reads it), S-CLASS, S-CODEBASE, S-APPLETTAG, S-ALIGN, S-BODY,
// S-ATTRIBS and S-CLIP (each copied as it is, nothing decoded), in that
// order, stopping at the first that is missing. With all thirteen present it
// generates the markup with LF line ends and hands it once to AppendOutput
// with `outputHandle`. Missing attributes, memory exhaustion, a null table or
// null GetAttribute/AppendOutput slots: nothing is appended. Never throws;
// keeps no state between calls.
void expandComponent(void* outputHandle, void* attributeHandle, const ZvHostCallbacks* callbacks);

}  // namespace zv::webbot

#endif  // ZV_WEBBOT_EXPAND_H
