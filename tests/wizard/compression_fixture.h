// What the compression and output page tests share: a workspace with sound
// in PcmWorkFile, the wizard's state and services with a recording message
// presenter, and screenshots (modal dialogs: tests/support/modal_dialog.h).
#ifndef ZV_TESTS_WIZARD_COMPRESSION_FIXTURE_H
#define ZV_TESTS_WIZARD_COMPRESSION_FIXTURE_H

#include <QString>

#include <cstddef>
#include <memory>
#include <string>

#include "encoder/engine_workspace.h"
#include "tests/support/recording_presenter.h"
#include "wizard/wizard_state.h"

class QWidget;

namespace zv::test {

struct WizardFixture {
  WizardFixture();

  // Fills PcmWorkFile with `samples` 16-bit samples of an 8 kHz tone.
  void writeTone(std::size_t samples);

  std::unique_ptr<EngineWorkspace> workspace;
  RecordingPresenter presenter;
  WizardState state;
  std::unique_ptr<WizardServices> services;
};

// Saves `widget` as test-artifacts/<name>.png in the source tree.
void saveScreenshot(QWidget& widget, const QString& name);

// Size of the file at `path`, or -1 when there is none.
long long fileSize(const std::string& path);

}  // namespace zv::test

#endif  // ZV_TESTS_WIZARD_COMPRESSION_FIXTURE_H
