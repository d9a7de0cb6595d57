// The status window as the author sees it while the player's files are
// added: its caption, its bar over 1..10 that stays full past the tenth
// file, its text line; a screenshot goes to test-artifacts/.
#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>

#include "insert/qt_status_window.h"

namespace zv::insert {
namespace {

TEST(StatusWindowTest, CaptionBarAndTextLine) {
  QtStatusWindow window;
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Status..."));
  EXPECT_EQ(window.progressBar()->minimum(), 1);
  EXPECT_EQ(window.progressBar()->maximum(), 10);
  EXPECT_FALSE(window.progressBar()->accessibleName().isEmpty());

  for (int counter = 1; counter <= 12; ++counter) {
    window.setProgress(counter);
    EXPECT_EQ(window.progressBar()->value(), std::min(counter, 10)) << counter;
  }
  window.setProgress(3);
  window.setText("Adding /myweb/Java/ZvTavelwork/ZvStreamPlayer.class");
  EXPECT_EQ(window.textLine()->text(), QStringLiteral("Adding /myweb/Java/ZvTavelwork/ZvStreamPlayer.class"));
  EXPECT_GE(window.width(), window.textLine()->sizeHint().width());

  QDir().mkpath(QStringLiteral(ZV_TEST_ARTIFACTS_DIR));
  EXPECT_TRUE(window.grab().save(QStringLiteral(ZV_TEST_ARTIFACTS_DIR "/insert-status-window.png")));
}

}  // namespace
}  // namespace zv::insert
