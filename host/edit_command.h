// `webhost edit PAGE [N]`: opens component N (1-based, default 1) of a page
// through the component's Edit entry, with a callback table over that
// component's attributes, and writes the attributes the author changed back
// into the page's WEBBOT comment; the page is replaced in one step, and every
// byte outside the changed values stays as it was. A component that has not
// been set up yet (no I-NUMBUTTONS) makes the Edit entry start the insertion
// program instead, which then does its own work.
#ifndef ZV_HOST_EDIT_COMMAND_H
#define ZV_HOST_EDIT_COMMAND_H

#include <ostream>
#include <string>

#include "host/editbot_binding.h"

namespace zv::host {

// Returns kStatusOk when the author pressed OK (the page rewritten if
// anything changed) or cancelled (the page untouched), kStatusFailed when
// the page cannot be read, parsed or written, or the library cannot be
// loaded, and kStatusBadUsage for a component number the page does not
// have. Reports go to `report`.
int editComponent(const std::string& pagePath, int componentNumber, EditBotBinding& editBot,
                  std::ostream& report);

}  // namespace zv::host

#endif  // ZV_HOST_EDIT_COMMAND_H
