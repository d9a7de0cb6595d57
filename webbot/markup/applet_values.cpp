#include "webbot/markup/applet_values.h"

namespace zv {

namespace {

std::string textOf(const char* text) { return text ? std::string(text) : std::string(); }

// The generator's view and the wizard's record name the twelve settings
// alike (the record's texts are system strings, which read as C strings),
// so one copy serves both.
template <typename Form>
AppletValues copyOfSettings(const Form& form) {
  AppletValues values;
  values.buttonCount = form.buttonCount;
  values.autoplay = form.autoplay;
  values.visible = form.visible;
  values.playCount = form.playCount;
  values.height = form.height;
  values.width = form.width;
  values.className = textOf(form.className);
  values.codebase = textOf(form.codebase);
  values.tag = textOf(form.tag);
  values.alignment = textOf(form.alignment);
  values.bodyText = textOf(form.bodyText);
  values.otherAttributes = textOf(form.otherAttributes);
  return values;
}

}  // namespace

AppletSettings AppletValues::settings() const {
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

AppletValues appletValuesOf(const AppletSettings& settings) { return copyOfSettings(settings); }

AppletValues appletValuesOf(const WizardResult& record) { return copyOfSettings(record); }

std::string systemStringText(const char* text) {
  return text ? std::string(text, SysStringByteLen(text)) : std::string();
}

void fillWizardResult(WizardResult& record, const AppletValues& values, const std::string& clipFile) {
  record.buttonCount = values.buttonCount;
  record.autoplay = values.autoplay;
  record.visible = values.visible;
  record.playCount = values.playCount;
  record.height = values.height;
  record.width = values.width;
  record.className = SysAllocString(values.className.c_str());
  record.codebase = SysAllocString(values.codebase.c_str());
  record.tag = SysAllocString(values.tag.c_str());
  record.alignment = SysAllocString(values.alignment.c_str());
  record.bodyText = SysAllocString(values.bodyText.c_str());
  record.otherAttributes = SysAllocString(values.otherAttributes.c_str());
  record.clipFile = SysAllocString(clipFile.c_str());
}

void freeWizardResultStrings(WizardResult& record) {
  for (SystemString* text : {&record.className, &record.codebase, &record.tag, &record.alignment,
                             &record.bodyText, &record.otherAttributes, &record.clipFile}) {
    SysFreeString(*text);
    *text = nullptr;
  }
}

}  // namespace zv
