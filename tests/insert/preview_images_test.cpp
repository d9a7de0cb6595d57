// The preview images drawn at build time: each is a GIF that decodes, 32
// pixels high and 32 wide per button, with as many button symbols as its
// name says. Each is also written as a PNG into test-artifacts/ to look at.
#include <gtest/gtest.h>

#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <string>

#include "webbot/webbot_text.h"

namespace {

const QString kImageFolder = QStringLiteral(ZV_PREVIEW_IMAGE_DIR);
const QString kArtifacts = QStringLiteral(ZV_TEST_ARTIFACTS_DIR);

// The symbol colour of the drawing script.
bool isSymbol(QRgb pixel) { return pixel == qRgb(0x1E, 0x7A, 0x3C); }

TEST(PreviewImagesTest, OneImagePerButtonCountWithThatManyButtons) {
  for (int buttons = 1; buttons <= 3; ++buttons) {
    const QString name = QString::fromLatin1(zv::webbot::previewImageName(buttons));
    QImage image(kImageFolder + QLatin1Char('/') + name, "GIF");
    ASSERT_FALSE(image.isNull()) << name.toStdString();
    EXPECT_EQ(image.width(), 32 * buttons) << name.toStdString();
    EXPECT_EQ(image.height(), 32) << name.toStdString();
    image = image.convertToFormat(QImage::Format_RGB32);
    // Every button's centre holds its symbol; the gaps between buttons do not.
    for (int b = 0; b < buttons; ++b) {
      int symbolPixels = 0;
      for (int y = 8; y < 24; ++y)
        for (int x = b * 32 + 8; x < b * 32 + 24; ++x) symbolPixels += isSymbol(image.pixel(x, y));
      EXPECT_GT(symbolPixels, 40) << name.toStdString() << " button " << b;
    }
    for (int y = 0; y < 32; ++y) EXPECT_FALSE(isSymbol(image.pixel(0, y)));
    QDir().mkpath(kArtifacts);
    image.scaled(image.size() * 4).save(kArtifacts + QStringLiteral("/preview-") + name + QStringLiteral(".png"));
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
