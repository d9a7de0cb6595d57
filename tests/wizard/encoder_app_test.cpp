// The wizard library's start-up: the application object runs it when it is
// made, and the entry points check what it found before anything else.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/module.h"
#include "tests/support/recording_presenter.h"
#include "wizard/encoder_app.h"
#include "wizard/wizard_strings.h"

namespace zv {
namespace {

std::string noFolder() { return {}; }
std::string installedFolder() { return "/opt/zv/lib/"; }

TEST(EncoderAppStart, AStartThatFindsNoLibraryFolderStopsTheEntryWithItsReason) {
  const CEncoderApp app(noFolder);
  EXPECT_FALSE(app.start().started());
  EXPECT_EQ(app.start().libraryFolder, "");

  test::RecordingPresenter presenter;
  EXPECT_FALSE(checkEncoderAppStarted(app, presenter));
  EXPECT_EQ(presenter.texts(),
            std::vector<std::string>{wizardMessage(kIdsLibraryNotStarted, app.start().failure)});
  EXPECT_NE(presenter.texts().front().find("libZvEncoder.so"), std::string::npos);
}

TEST(EncoderAppStart, AStartedLibraryFindsItsGalleryAndLetsTheEntryGoOnInSilence) {
  const CEncoderApp app(installedFolder);
  EXPECT_TRUE(app.start().started());
  EXPECT_EQ(app.start().libraryFolder, "/opt/zv/lib/");
  // The installation's gallery lies in its private data folder.
  EXPECT_EQ(app.galleryDirectory(), "/opt/zv/share/zvtavelworks/Gallery");

  test::RecordingPresenter presenter;
  EXPECT_TRUE(checkEncoderAppStarted(app, presenter));
  EXPECT_TRUE(presenter.texts().empty());
}

TEST(EncoderAppStart, TheOneApplicationObjectHasStartedBeforeAnyCodeRuns) {
  // Linked into this program, the object is made by the program's
  // initialisers, as it is by the library's when the library is loaded:
  // by now its start-up is over, with the folder of the module holding it.
  const EncoderAppStart& start = CEncoderApp::instance().start();
  EXPECT_TRUE(start.started()) << start.failure;
  EXPECT_EQ(start.libraryFolder, thisModuleFolder());
}

}  // namespace
}  // namespace zv
