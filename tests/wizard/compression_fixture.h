// What the compression and output page tests share: a workspace with sound
// in PcmWorkFile, the wizard's state and services with a recording message
// presenter, waiting for a modal dialog without sleeping, and screenshots.
#ifndef ZV_TESTS_WIZARD_COMPRESSION_FIXTURE_H
#define ZV_TESTS_WIZARD_COMPRESSION_FIXTURE_H

#include <QString>

#include <cstddef>
#include <functional>
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

// Calls `action` once with the first visible top-level widget of type T,
// as soon as the event loop runs with one on screen (for instance inside a
// modal dialog's exec()). Polls with zero-length timers, never sleeps.
void whenVisible(const std::function<QWidget*()>& find, const std::function<void(QWidget*)>& action);

template <typename T>
QWidget* findVisibleTopLevel();

// Saves `widget` as test-artifacts/<name>.png in the source tree.
void saveScreenshot(QWidget& widget, const QString& name);

// Size of the file at `path`, or -1 when there is none.
long long fileSize(const std::string& path);

}  // namespace zv::test

#include <QApplication>
#include <QWidget>

namespace zv::test {

template <typename T>
QWidget* findVisibleTopLevel() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (widget->isVisible() && qobject_cast<T*>(widget)) return widget;
  return nullptr;
}

}  // namespace zv::test

#endif  // ZV_TESTS_WIZARD_COMPRESSION_FIXTURE_H
