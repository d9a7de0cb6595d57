// What the wizard hands the insertion program on Finish: the applet settings
// and the full path of the finished clip, as owned texts.
#ifndef ZV_INSERT_WIZARD_RECORD_H
#define ZV_INSERT_WIZARD_RECORD_H

#include <cstdint>
#include <functional>
#include <string>

#include "webbot/markup/applet_settings.h"

namespace zv::insert {

struct WizardRecord {
  std::int32_t buttonCount = 0;
  std::int32_t autoplay = 0;
  std::int32_t visible = 0;
  std::int32_t playCount = 0;
  std::int32_t height = 0;
  std::int32_t width = 0;
  std::string className;
  std::string codebase;
  std::string tag;
  std::string alignment;
  std::string bodyText;         // plain, not encoded
  std::string otherAttributes;  // plain, not encoded
  std::string clipFile;         // full local path of the clip

  // A view of the settings; valid while the record lives unchanged.
  AppletSettings settings() const {
    AppletSettings s;
    s.buttonCount = buttonCount;
    s.autoplay = autoplay;
    s.visible = visible;
    s.playCount = playCount;
    s.height = height;
    s.width = width;
    s.className = className.c_str();
    s.codebase = codebase.c_str();
    s.tag = tag.c_str();
    s.alignment = alignment.c_str();
    s.bodyText = bodyText.c_str();
    s.otherAttributes = otherAttributes.c_str();
    return s;
  }
};

// How the wizard ended: finished with its record, cancelled by the author,
// or failed, with the wizard's own answer kept for the author's message.
enum class WizardEnd { Finished, Cancelled, Failed };

struct WizardRun {
  WizardEnd end = WizardEnd::Cancelled;
  WizardRecord record;       // filled when finished
  std::int32_t answer = 0;   // the wizard's answer
};

// What the wizard's answer says: 12325 is Finish, 2 is Cancel (the author's
// choice, said by nobody), and any other answer is a failure the author
// must hear of rather than take for a Cancel.
WizardEnd WizardEndForAnswer(std::int32_t answer);

using WizardRunner = std::function<WizardRun()>;

}  // namespace zv::insert

#endif  // ZV_INSERT_WIZARD_RECORD_H
