#include "insert/zv_encoder_wizard.h"

#include <zv/system_string.h>
#include <zv/zv_encoder.h>
#include "webbot/markup/applet_values.h"

namespace zv::insert {

WizardRun runZvEncoderWizard() {
  SystemString markup = nullptr;  // the APPLET markup is not used here
  WizardResult result{};
  WizardRun run;
  run.answer = DoZvEncoder(0, &markup, &result);
  SysFreeString(markup);
  run.end = wizardEndForAnswer(run.answer);

  // Whatever the answer, strings handed over are ours to free.
  run.record = WizardRecord{appletValuesOf(result), systemStringText(result.clipFile)};
  freeWizardResultStrings(result);
  if (run.end == WizardEnd::Finished && run.record.clipFile.empty()) run.end = WizardEnd::Failed;
  return run;
}

}  // namespace zv::insert
