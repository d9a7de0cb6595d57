// An application object made for a call when the caller has none, ended
// after it, and the caller's own left alone; message boxes without one. The process starts without
// any application object, as a plain C program calling the library would.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QWidget>

#include "platform/qt/qt_message_box_presenter.h"
#include "platform/qt/scoped_qapplication.h"

namespace zv {
namespace {

TEST(ScopedQApplication, MakesOneForTheCallAndEndsIt) {
  ASSERT_EQ(QCoreApplication::instance(), nullptr);
  // Twice in a row, as two calls of the library's entry would.
  for (int call = 0; call < 2; ++call) {
    {
      ScopedQApplication scoped;
      EXPECT_TRUE(scoped.ownsApplication());
      EXPECT_TRUE(scoped.widgets());
      ASSERT_NE(qobject_cast<QApplication*>(QCoreApplication::instance()), nullptr);
      QWidget window;
      window.show();
      auto* leftover = new QWidget;
      leftover->deleteLater();
    }
    EXPECT_EQ(QCoreApplication::instance(), nullptr);
  }
}

TEST(ScopedQApplication, UsesTheCallersApplication) {
  int argc = 1;
  char name[] = "caller";
  char* argv[] = {name, nullptr};
  QApplication callers(argc, argv);
  {
    const auto scoped = ensureQApplication();
    EXPECT_FALSE(scoped->ownsApplication());
    EXPECT_TRUE(scoped->widgets());
    EXPECT_EQ(QCoreApplication::instance(), &callers);
  }
  EXPECT_EQ(QCoreApplication::instance(), &callers);
}

TEST(ScopedQApplication, CoreApplicationAllowsNoWidgets) {
  int argc = 1;
  char name[] = "caller";
  char* argv[] = {name, nullptr};
  QCoreApplication callers(argc, argv);
  ScopedQApplication scoped;
  EXPECT_FALSE(scoped.ownsApplication());
  EXPECT_FALSE(scoped.widgets());
  EXPECT_EQ(QCoreApplication::instance(), &callers);
}

// Without a widget application no box can be shown: nobody answers.
TEST(QtMessageBoxPresenter, WithoutApplicationNobodyAnswers) {
  ASSERT_EQ(QCoreApplication::instance(), nullptr);
  QtMessageBoxPresenter presenter;
  EXPECT_EQ(presenter.present({"", "text", MessageKind::Information}), MessageAnswer::Ok);
  EXPECT_EQ(presenter.present({"", "text?", MessageKind::Question}), MessageAnswer::No);
  int argc = 1;
  char name[] = "caller";
  char* argv[] = {name, nullptr};
  QCoreApplication core(argc, argv);
  EXPECT_EQ(presenter.present({"", "text?", MessageKind::Question}), MessageAnswer::No);
}

}  // namespace
}  // namespace zv
