// A QWizard that holds the compression and output pages between two plain
// pages standing for the input and applet pages, with the sheet's page
// identifiers, so that Next and Back run as in the real sheet. Every
// progress dialog the compression page opens is counted and guarded: one
// still open after a minute is cancelled and flagged, so a dialog that waits
// for ever fails a test instead of hanging it.
#ifndef ZV_TESTS_WIZARD_WIZARD_HARNESS_H
#define ZV_TESTS_WIZARD_WIZARD_HARNESS_H

#include <QAbstractButton>
#include <QTest>
#include <QTimer>
#include <QWizard>

#include <functional>

#include "encoder/codec_table.h"
#include "tests/wizard/compression_fixture.h"
#include "wizard/compress_progress_dialog.h"
#include "wizard/wave_compression_page.h"
#include "wizard/wave_output_page.h"

namespace zv::test {

class WizardHarness {
 public:
  // `devices`: the output page's sound output (null: the system's).
  WizardHarness(WizardFixture& fixture, int startId, CodecTable codecs = kCodecTable,
                WaveDeviceFactory* devices = nullptr) {
    wizard.setPage(kPageWaveInput, new QWizardPage);
    compression = new CPageWaveCompression(fixture.state, *fixture.services, nullptr, codecs);
    wizard.setPage(kPageWaveCompression, compression);
    output = new CPageWaveOutput(fixture.state, *fixture.services, nullptr, devices);
    wizard.setPage(kPageWaveOutput, output);
    wizard.setPage(kPageAppletProperties, new QWizardPage);
    wizard.setStartId(startId);
    wizard.resize(560, 420);
    compression->setProgressDialogHook([this](CCompressProgressDialog& dialog) {
      ++dialogs;
      QTimer::singleShot(60000, &dialog, [this, &dialog]() {
        guardFired = true;
        dialog.reject();
      });
      if (onDialog) onDialog(dialog);
    });
    wizard.show();
    wizard.activateWindow();
    static_cast<void>(QTest::qWaitForWindowActive(&wizard));
  }

  void next() { QTest::mouseClick(wizard.button(QWizard::NextButton), Qt::LeftButton); }
  void back() { QTest::mouseClick(wizard.button(QWizard::BackButton), Qt::LeftButton); }

  QWizard wizard;
  CPageWaveCompression* compression = nullptr;
  CPageWaveOutput* output = nullptr;
  int dialogs = 0;
  bool guardFired = false;
  // Called with each progress dialog before it runs.
  std::function<void(CCompressProgressDialog&)> onDialog;
};

}  // namespace zv::test

#endif  // ZV_TESTS_WIZARD_WIZARD_HARNESS_H
