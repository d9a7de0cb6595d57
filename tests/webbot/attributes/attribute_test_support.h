// What the attribute page tests share: screenshots named after the build
// they show.
#ifndef ZV_TESTS_WEBBOT_ATTRIBUTES_ATTRIBUTE_TEST_SUPPORT_H
#define ZV_TESTS_WEBBOT_ATTRIBUTES_ATTRIBUTE_TEST_SUPPORT_H

#include <QDir>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <QtTest>

#include "webbot/attributes/attribute_build.h"

namespace zv::test {

// Writes test-artifacts/attributes-<build>-<name>.png.
inline void saveScreenshot(QWidget& widget, const char* name) {
  const QString folder = QStringLiteral(ZV_TEST_ARTIFACTS_DIR);
  QVERIFY(QDir().mkpath(folder));
  const QString build = kAttributesForEditBot ? QStringLiteral("editbot") : QStringLiteral("encoder");
  const QString file = folder + QStringLiteral("/attributes-") + build + u'-' +
                       QString::fromLatin1(name) + QStringLiteral(".png");
  QVERIFY2(widget.grab().save(file), qPrintable(file));
}

}  // namespace zv::test

#endif  // ZV_TESTS_WEBBOT_ATTRIBUTES_ATTRIBUTE_TEST_SUPPORT_H
