// The values the Required and Optional applet attribute pages edit, as their
// opener hands them in and reads them back, and the attribute set that ends up
// as the element's further attributes.
//
// Qt-free, so that the settings store, the wizard's result and the web
// component's attribute text share it without pulling in widgets.
#ifndef ZV_WEBBOT_ATTRIBUTES_APPLET_ATTRIBUTE_VALUES_H
#define ZV_WEBBOT_ATTRIBUTES_APPLET_ATTRIBUTE_VALUES_H

#include <string>

#include "webbot/attribute_text.h"

namespace zv {

// Attribute name -> value, names unique by exact comparison. A value is kept
// exactly as the Tag Attribute dialog accepted it (a value holding spaces
// keeps its surrounding double quotes). Iterated in ascending byte order of
// the names: the order of the joined text (webbot::joinAttributeText) and of
// the numbered store entries.
using AttributeMap = webbot::AttributeSet;

// The Required page's values, with the values a new page starts from.
struct RequiredAppletAttributes {
  int width = 0;                 // pixels, 10..32767 once accepted
  int height = 0;                // pixels, 10..32767 once accepted
  std::string className;         // passes through unchanged (hidden field)
  std::string codebase;          // URL path of the class files, may be empty
  std::string tag = "APPLET";    // "APPLET" or "OBJECT"
  bool saveForNextTime = false;  // "&Save these properties for next time"
  std::string alignment;         // "", "top", "middle", "bottom", "left", "right"
  bool calculateWidth = false;   // width = height x button count, at most 32767
};

// The Optional page's values.
struct OptionalAppletAttributes {
  std::string bodyText;          // may hold line breaks
  AttributeMap attributes;
  bool saveForNextTime = false;  // "&Save these properties for next time"
};

}  // namespace zv

#endif  // ZV_WEBBOT_ATTRIBUTES_APPLET_ATTRIBUTE_VALUES_H
