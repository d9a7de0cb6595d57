// What the wizard hands the insertion program on Finish: the applet settings
// and the full path of the finished clip, as owned texts.
#ifndef ZV_INSERT_WIZARD_RECORD_H
#define ZV_INSERT_WIZARD_RECORD_H

#include <cstdint>
#include <functional>
#include <string>

#include "webbot/markup/applet_values.h"

namespace zv::insert {

// The settings (plain texts, not encoded) with the clip they are for.
struct WizardRecord : AppletValues {
  std::string clipFile;  // full local path of the clip
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
WizardEnd wizardEndForAnswer(std::int32_t answer);

using WizardRunner = std::function<WizardRun()>;

}  // namespace zv::insert

#endif  // ZV_INSERT_WIZARD_RECORD_H
