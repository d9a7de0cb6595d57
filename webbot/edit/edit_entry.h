// The web component's Edit entry: for a component that has not been set up
// (no I-NUMBUTTONS), starts the insertion program and returns 0; otherwise
// shows the "Applet Attributes" sheet (General, Required and Optional pages)
// filled from the component's attributes and, on OK, writes them all back
// with a new preview and returns 1 (0 on Cancel, with nothing written).
//
// When the host has no QApplication, one is made for the call. Messages are
// message boxes over the sheet.
#ifndef ZV_WEBBOT_EDIT_EDIT_ENTRY_H
#define ZV_WEBBOT_EDIT_EDIT_ENTRY_H

#include <cstdint>

#include <zv/webbot_host.h>

namespace zv::webbot {

std::int32_t editComponent(void* attributeHandle, const ZvHostCallbacks* callbacks);

}  // namespace zv::webbot

#endif  // ZV_WEBBOT_EDIT_EDIT_ENTRY_H
