// Which library this copy of the attribute pages is built into.
//
// The pages are compiled twice from the same sources: into the encoder
// wizard (ZV_ATTRIBUTES_BUILD_EDITBOT=0) and into the web component
// (ZV_ATTRIBUTES_BUILD_EDITBOT=1). The builds differ in
//
//   point                          encoder wizard                 web component
//   sheet caption (string 103)     "Advanced Applet Attributes"   "Applet Attributes"
//   save check boxes               shown; the opener reads them   hidden and disabled
//   Tag Attribute dialog           has a "&Help" button           no Help button
//   button count for the width     stored by the opener           asked of the General page
//
// The definition is part of each target's interface, so every user of a
// target sees the same classes as the target was built with.
#ifndef ZV_WEBBOT_ATTRIBUTES_ATTRIBUTE_BUILD_H
#define ZV_WEBBOT_ATTRIBUTES_ATTRIBUTE_BUILD_H

#if !defined(ZV_ATTRIBUTES_BUILD_EDITBOT)
#error "link zv_applet_attributes_encoder or zv_applet_attributes_editbot"
#endif

namespace zv {

inline constexpr bool kAttributesForEditBot = ZV_ATTRIBUTES_BUILD_EDITBOT != 0;

}  // namespace zv

#endif  // ZV_WEBBOT_ATTRIBUTES_ATTRIBUTE_BUILD_H
