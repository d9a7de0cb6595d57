// The exports of libZvEncoder.so: DoZvEncoder with C linkage, and the
// ordinal table through which callers bind it as ordinal 1. (The
// system-string functions come from the platform layer, exported as they
// are declared.)
#include <zv/zv_encoder.h>

#include <QDialog>

#include <exception>
#include <optional>
#include <string>
#include <type_traits>

#include "platform/qt/qt_message_box_presenter.h"
#include "platform/qt/scoped_qapplication.h"
#include "platform/temporary_file.h"
#include "wizard/encoder_app.h"
#include "wizard/encoder_property_sheet.h"
#include "wizard/gallery_folders.h"
#include "wizard/settings_store.h"
#include "wizard/wizard_result_assembly.h"
#include "wizard/wizard_strings.h"

namespace zv {

namespace {

std::int32_t runWizard(std::uint32_t reserved, SystemString* markup, WizardResult* result) {
  ScopedQApplication application;
  if (!application.widgets()) return ZV_WIZARD_CANCELLED;

  QtMessageBoxPresenter presenter;
  if (!checkEncoderAppStarted(CEncoderApp::instance(), presenter)) return ZV_WIZARD_CANCELLED;
  std::string error;
  // Declared before the sheet, so that they outlive it: the working files
  // go when this run ends, and with them, unless a clip was handed over,
  // the run's folder.
  std::optional<WizardRunFiles> run = CEncoderApp::instance().startRun(error);
  if (!run) {
    showWizardMessage(presenter, kIdsWorkingFilesNotCreated, temporaryDirectory());
    return ZV_WIZARD_CANCELLED;
  }

  SettingsStore settings;
  WizardServices services{*run->workspace, presenter, galleryFoldersWith(CEncoderApp::instance().galleryDirectory())};
  CEncoderPropertySheet sheet(services, settings, reserved);
  presenter.setParent(&sheet);
  // Without a markup slot nothing is handed back, so Finish moves no file.
  sheet.setPlaceClipOnFinish(markup != nullptr);
  if (sheet.exec() != QDialog::Accepted) return ZV_WIZARD_CANCELLED;

  if (!handOverResult(sheet.appletValues(), sheet.placedClip(), markup, result, presenter))
    return ZV_WIZARD_CANCELLED;
  // A new clip lies in the run's folder: the folder now belongs to the
  // caller, with the clip alone in it. (A gallery clip lies in the gallery;
  // the folder then goes.)
  if (markup != nullptr && sheet.placedClip()) run->folder->handOver(sheet.placedClip()->path);
  return ZV_WIZARD_FINISHED;
}

}  // namespace

}  // namespace zv

extern "C" ZV_EXPORT int32_t DoZvEncoder(uint32_t reserved, SystemString* markup,
                                         WizardResult* result) {
  // Nothing may unwind into a C caller: a failure that escapes the wizard
  // ends it as if cancelled.
  try {
    return zv::runWizard(reserved, markup, result);
  } catch (const std::exception&) {
    return ZV_WIZARD_CANCELLED;
  } catch (...) {
    return ZV_WIZARD_CANCELLED;
  }
}

static_assert(std::is_same_v<decltype(&DoZvEncoder), DoZvEncoderFn>);

namespace {

const ZvEntryPoint kEntries[] = {
    reinterpret_cast<ZvEntryPoint>(&DoZvEncoder),
};

}  // namespace

extern "C" ZV_EXPORT const ZvOrdinalTable zv_ordinal_table = {
    sizeof kEntries / sizeof kEntries[0], kEntries};
