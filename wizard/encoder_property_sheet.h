// CEncoderPropertySheet: the wizard. Its pages, by identifier:
//
//   103 CPageWaveInput         "Audio Input"
//   108 CPageWaveRecord        "Record Voice"
//   104 CPageWaveCompression   "Compression Algorithms"
//   109 CPageWaveOutput        "Compressed Audio File Output"
//   106 CPageAppletProperties  "Applet Attributes"
//
// Each page's nextId() names the page that follows, so a gallery clip goes
// Input -> Applet, a file Input -> Compression -> Output -> Applet and a
// recording Input -> Record -> Compression -> Output -> Applet; Back retraces
// the pages actually visited, which gives the Applet page's Back the Input
// page for a gallery clip and the Output page otherwise, and the Compression
// page's Back the page that led to it.
//
// Finish validates the applet page and then, in finish mode, puts the clip
// in its place (wizard_result_assembly.h); when that fails the wizard stays
// on the last page. Every page has Help (a short text about the page); the
// About entry is a button on the sheet and the window's context menu.
#ifndef ZV_WIZARD_ENCODER_PROPERTY_SHEET_H
#define ZV_WIZARD_ENCODER_PROPERTY_SHEET_H

#include <QWizard>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include "webbot/markup/applet_values.h"
#include "wizard/wizard_result_assembly.h"
#include "wizard/wizard_state.h"

class QAction;
class QDialog;

namespace zv {

class CAboutDialog;
class CPageAppletProperties;
class CPageWaveCompression;
class CPageWaveInput;
class CPageWaveOutput;
class CPageWaveRecord;
class WaveDeviceFactory;
class SettingsStore;

class CEncoderPropertySheet : public QWizard {
  Q_OBJECT

 public:
  // The button that opens the about box.
  static constexpr WizardButton kAboutButton = QWizard::CustomButton1;

  // `reserved` is kept with the sheet and never read (the entry's first
  // argument). `devices`: where the record and output pages record and play
  // (null: the system's default sound devices).
  CEncoderPropertySheet(WizardServices& services, SettingsStore& settings,
                        std::uint32_t reserved = 0, QWidget* parent = nullptr,
                        WaveDeviceFactory* devices = nullptr);
  ~CEncoderPropertySheet() override;

  // Finish mode (the default): Finish puts the clip in its place. Off, Finish
  // only validates the applet page and touches no file.
  void setPlaceClipOnFinish(bool place) { place_clip_on_finish_ = place; }

  // The clip put in place by Finish, or nothing before a successful Finish
  // (or with finish mode off).
  const std::optional<PlacedClip>& placedClip() const { return placed_; }
  // The applet page's values.
  AppletValues appletValues() const;
  const WizardState& state() const { return state_; }

  CPageWaveInput* inputPage() const { return input_; }
  CPageWaveRecord* recordPage() const { return record_; }
  CPageWaveCompression* compressionPage() const { return compression_; }
  CPageWaveOutput* outputPage() const { return output_; }
  CPageAppletProperties* appletPage() const { return applet_; }
  QAction* aboutAction() const { return about_action_; }

  // Opens the about box, modally.
  void showAbout();
  // Shows the current page's help text, modally.
  void showHelp();

  // Called with the about box and the help box after they are made and
  // before they run, so that a caller (a test) can look at and close them.
  void setDialogHook(std::function<void(QDialog&)> hook) { dialog_hook_ = std::move(hook); }

 protected:
  bool validateCurrentPage() override;
  void showEvent(QShowEvent* event) override;

 private:
  void runDialog(QDialog& dialog);

  WizardServices& services_;
  WizardState state_;
  const std::uint32_t reserved_;
  bool place_clip_on_finish_ = true;
  bool centred_ = false;
  std::optional<PlacedClip> placed_;
  std::unique_ptr<WaveDeviceFactory> own_devices_;  // when none was handed in
  CPageWaveInput* input_ = nullptr;
  CPageWaveRecord* record_ = nullptr;
  CPageWaveCompression* compression_ = nullptr;
  CPageWaveOutput* output_ = nullptr;
  CPageAppletProperties* applet_ = nullptr;
  QAction* about_action_ = nullptr;
  std::function<void(QDialog&)> dialog_hook_;
};

}  // namespace zv

#endif  // ZV_WIZARD_ENCODER_PROPERTY_SHEET_H
