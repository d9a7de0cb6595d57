// One call of a component library's Expand entry for one component of a
// page, through a host callback table (zv/webbot_host.h).
#ifndef ZV_HOST_EXPAND_CALL_H
#define ZV_HOST_EXPAND_CALL_H

#include <string>

#include "host/page_parser.h"
#include <zv/webbot_host.h>

namespace zv::host {

struct ExpandResult {
  std::string output;              // everything AppendOutput received, in order
  bool attributesChanged = false;  // SetAttribute was called
  bool outOfMemory = false;        // a callback could not keep a text
};

// Calls `expand` with one output handle, one attribute handle for
// `component` and a callback table whose slots 7, 10 and 12 are AppendOutput,
// GetAttribute and SetAttribute (the other slots are null):
//   GetAttribute answers from the component's attributes (names compared
//     without regard to letter case, the first of a name wins) with its
//     decoded value (the generator encodes what it writes), valid until the
//     next call;
//     null when the component has no such attribute.
//   SetAttribute replaces or adds the decoded value in `component`.
//   AppendOutput appends a copy of the text to the result.
// The third and fourth handles are null.
ExpandResult callExpand(ZvTavelworkExpandFn expand, PageComponent& component);

}  // namespace zv::host

#endif  // ZV_HOST_EXPAND_CALL_H
