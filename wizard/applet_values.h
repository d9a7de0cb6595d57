// The twelve applet settings the wizard's applet page holds, as owned values,
// and a view of them in the form the markup generator and the result record
// take.
#ifndef ZV_WIZARD_APPLET_VALUES_H
#define ZV_WIZARD_APPLET_VALUES_H

#include <cstdint>
#include <string>

#include "webbot/markup/applet_defaults.h"
#include "webbot/markup/applet_settings.h"

namespace zv {

struct AppletValues {
  std::int32_t buttonCount = applet_defaults::kButtonCount;  // 1..3
  std::int32_t autoplay = applet_defaults::kAutoplay;        // 0/1
  std::int32_t visible = applet_defaults::kVisible;          // 0/1
  std::int32_t playCount = applet_defaults::kPlayCount;      // 1..32767, -1 = continuously
  std::int32_t height = applet_defaults::kHeight;            // pixels
  std::int32_t width = applet_defaults::kWidth;              // pixels
  std::string className = applet_defaults::kClassName;
  std::string codebase = applet_defaults::kCodebase;
  std::string tag = applet_defaults::kTag;
  std::string alignment = applet_defaults::kAlignment;
  std::string bodyText = applet_defaults::kBodyText;
  std::string otherAttributes;  // "name=value" items joined by single spaces

  // The same values as generator input. The texts point into this object:
  // the view is valid while this object lives and its texts are unchanged.
  AppletSettings settings() const {
    AppletSettings view;
    view.buttonCount = buttonCount;
    view.autoplay = autoplay;
    view.visible = visible;
    view.playCount = playCount;
    view.height = height;
    view.width = width;
    view.className = className.c_str();
    view.codebase = codebase.c_str();
    view.tag = tag.c_str();
    view.alignment = alignment.c_str();
    view.bodyText = bodyText.c_str();
    view.otherAttributes = otherAttributes.c_str();
    return view;
  }
};

}  // namespace zv

#endif  // ZV_WIZARD_APPLET_VALUES_H
