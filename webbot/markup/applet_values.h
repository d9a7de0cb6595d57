// The applet settings as owned values: the one form in which the system keeps
// the twelve settings of a player (the wizard's applet page, the insertion
// program's record, zvsa's markup options), and the one place that turns
// them into the other forms they travel in and back:
//   - AppletSettings, the markup generator's read-only view (applet_settings.h);
//   - WizardResult, the wizard library's C record (zv/zv_encoder.h).
// The component's attributes, the third such form, are converted beside the
// component's vocabulary (webbot/applet_attributes.h).
//
// It lives here, beside the generator, because this folder is the one that
// everybody who holds the settings already links (the wizard library, the
// component library, zvsa and the insertion program) and it depends on
// nothing but the platform layer and the public headers.
#ifndef ZV_WEBBOT_MARKUP_APPLET_VALUES_H
#define ZV_WEBBOT_MARKUP_APPLET_VALUES_H

#include <cstdint>
#include <string>

#include <zv/zv_encoder.h>
#include "webbot/markup/applet_defaults.h"
#include "webbot/markup/applet_settings.h"

namespace zv {

// Starts from the values a fresh settings store gives the wizard.
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
  std::string bodyText = applet_defaults::kBodyText;         // plain, not encoded
  // "name=value" items joined by single spaces; plain, not encoded.
  std::string otherAttributes = applet_defaults::kOtherAttributes;

  // The same values as generator input. The texts point into this object:
  // the view is valid while this object lives and its texts are unchanged.
  AppletSettings settings() const;

  friend bool operator==(const AppletValues&, const AppletValues&) = default;
};

// A copy of what `settings` holds; null texts give empty ones.
AppletValues appletValuesOf(const AppletSettings& settings);

// A copy of the record's twelve settings (the clip file is not among them);
// null strings give empty texts.
AppletValues appletValuesOf(const WizardResult& record);

// Fills a zeroed `record` with `values` and the clip file, each text a new
// system string that the record's owner frees (freeWizardResultStrings).
void fillWizardResult(WizardResult& record, const AppletValues& values, const std::string& clipFile);

// Frees the record's seven strings and sets them to null.
void freeWizardResultStrings(WizardResult& record);

// The text of a system string as it is, by its length; empty for null.
std::string systemStringText(const char* text);

}  // namespace zv

#endif  // ZV_WEBBOT_MARKUP_APPLET_VALUES_H
