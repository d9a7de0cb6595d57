#include "wizard/zvwizard/clip_markup.h"

#include "webbot/markup/applet_markup.h"
#include "webbot/markup/clip_reference.h"
#include "webbot/markup/applet_values.h"
#include "wizard/wizard_result_assembly.h"

namespace zv {

std::string markupForClip(const WizardResult& record, const std::string& clipFileName) {
  // The same generator, settings and clip reference as the wizard's own
  // hand-over (wizard_result_assembly.h), so that only the name differs.
  SystemString markup = nullptr;
  std::string text;
  if (GenerateAppletMarkup(appletValuesOf(record).settings(), clipReferenceForPath(clipFileName).c_str(), &markup,
                           kMarkupLinesEndLf) &&
      markup != nullptr)
    text = markup;
  SysFreeString(markup);
  return text;
}

}  // namespace zv
