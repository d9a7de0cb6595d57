#include "webbot/edit/edit_entry.h"

#include <QApplication>
#include <QStyle>

#include "platform/qt/qt_message_box_presenter.h"
#include "platform/qt/scoped_qapplication.h"
#include "webbot/attributes/applet_attributes_sheet.h"
#include "webbot/attributes/applet_optional_page.h"
#include "webbot/attributes/applet_required_page.h"
#include "webbot/bot_folder.h"
#include "webbot/component_attributes.h"
#include "webbot/edit/applet_general_page.h"
#include "webbot/edit/component_values.h"
#include "webbot/edit/edit_strings.h"
#include "webbot/insert_bot_launch.h"

namespace zv::webbot {

namespace {

// Starts the insertion program from the component's folder; a program that
// cannot be started is reported with its path and the reason.
void startInsertBot(MessagePresenter& presenter) {
  const std::string program = insertBotPath();
  const std::string why = launchDetached(program);
  if (!why.empty()) showEditMessage(presenter, kIdsInsertBotNotStarted, "\"" + program + "\": " + why + ".");
}

std::string clipOf(const ZvHostCallbacks& host, void* attributes) {
  const char* clip = host.GetAttribute(attributes, kKeyClip);
  return clip ? clip : "";
}

}  // namespace

std::int32_t editComponent(void* attributes, const ZvHostCallbacks* callbacks) {
  if (!callbacks || !callbacks->GetAttribute || !callbacks->SetAttribute) return 0;
  const ZvHostCallbacks& host = *callbacks;
  const ScopedQApplication application;
  if (!application.widgets()) return 0;
  QtMessageBoxPresenter presenter;

  if (!isComponentSetUp(host, attributes)) {
    startInsertBot(presenter);
    return 0;
  }

  ComponentValues values = readComponentValues(host, attributes);
  CAppletAttributesPropertySheet sheet(presenter);
  sheet.setWindowIcon(QApplication::style()->standardIcon(QStyle::SP_MediaVolume));
  presenter.setParent(&sheet);
  auto* general = new CPageAppletGeneral(values.general, presenter);
  sheet.insertGeneralPage(general, QString::fromStdString(editMessage(kIdsGeneralPageTitle)));
  CPageAppletRequired& required = sheet.requiredPage();
  required.setValues(values.required);
  required.setButtonCountSource([general] { return general->buttonCount(); });
  QObject::connect(general, &CPageAppletGeneral::buttonCountChanged, &sheet,
                   [&required] { required.buttonCountChanged(); });
  sheet.optionalPage().setValues(values.optional);

  if (sheet.exec() != QDialog::Accepted) return 0;

  values.general = general->values();
  values.required = required.values();
  values.optional = sheet.optionalPage().values();
  const std::string preview = buildPreview(values, clipOf(host, attributes), previewImageFolder());
  writeComponentValues(values, preview, host, attributes);
  return 1;
}

}  // namespace zv::webbot
