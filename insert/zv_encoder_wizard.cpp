#include "insert/zv_encoder_wizard.h"

#include <zv/system_string.h>
#include <zv/zv_encoder.h>

namespace zv::insert {

namespace {

// Copies a system string the wizard handed over and frees it.
std::string take(SystemString& text) {
  std::string copy = text ? std::string(text, SysStringByteLen(text)) : std::string();
  SysFreeString(text);
  text = nullptr;
  return copy;
}

}  // namespace

WizardRun RunZvEncoderWizard() {
  SystemString markup = nullptr;  // the APPLET markup is not used here
  WizardResult result{};
  WizardRun run;
  run.answer = DoZvEncoder(0, &markup, &result);
  SysFreeString(markup);
  run.end = WizardEndForAnswer(run.answer);

  // Whatever the answer, strings handed over are ours to free.
  WizardRecord& record = run.record;
  record.buttonCount = result.buttonCount;
  record.autoplay = result.autoplay;
  record.visible = result.visible;
  record.playCount = result.playCount;
  record.height = result.height;
  record.width = result.width;
  record.className = take(result.className);
  record.codebase = take(result.codebase);
  record.tag = take(result.tag);
  record.alignment = take(result.alignment);
  record.bodyText = take(result.bodyText);
  record.otherAttributes = take(result.otherAttributes);
  record.clipFile = take(result.clipFile);
  if (run.end == WizardEnd::Finished && record.clipFile.empty()) run.end = WizardEnd::Failed;
  return run;
}

}  // namespace zv::insert
