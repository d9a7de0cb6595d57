// CPageWaveOutput in a wizard: the proposed name, the name rule on Next
// (typed into the real edit), the compressed label, and the chart as drawn
// on the page, checked pixel by pixel against its layout.
#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QFontMetrics>
#include <QTest>

#include <functional>
#include <memory>

#include "tests/wizard/compression_fixture.h"
#include "tests/wizard/wizard_harness.h"
#include "wizard/compression_chart.h"

namespace zv {
namespace {

int countPixels(const QImage& image, const QRect& area, const std::function<bool(QColor)>& matches) {
  int count = 0;
  const QRect inside = area.intersected(image.rect());
  for (int y = inside.top(); y <= inside.bottom(); ++y)
    for (int x = inside.left(); x <= inside.right(); ++x)
      if (matches(image.pixelColor(x, y))) ++count;
  return count;
}

bool isDark(QColor c) { return c.lightness() < 100; }

}  // namespace

class OutputPageTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<test::WizardFixture> fixture_;

  void setSizes(std::uint32_t pcm, std::uint32_t coded) {
    fixture_->state.pcmBytes = pcm;
    fixture_->state.codedBytes = coded;
    fixture_->state.hasCompression = true;
    fixture_->state.compressionStale = false;
  }

 private slots:
  void init() { fixture_ = std::make_unique<test::WizardFixture>(); }
  void cleanup() { fixture_.reset(); }

  void proposesANameFromTheInput_data() {
    QTest::addColumn<int>("choice");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("proposed");
    QTest::newRow("gallery clip") << int{kInputGalleryClip} << "bells" << "bells";
    QTest::newRow("voice recording") << int{kInputVoiceRecording} << "" << "TypeRecordedFileNameHere";
    QTest::newRow("source file") << int{kInputSourceFile} << "/music/my song!.wav" << "mysong";
    QTest::newRow("source file, dots and accents")
        << int{kInputSourceFile} << "/x/Été (live)-mix_2.final.au" << "t(live)-mix_2final";
    QTest::newRow("source file without extension") << int{kInputSourceFile} << "take#2" << "take2";
  }
  void proposesANameFromTheInput() {
    QFETCH(int, choice);
    QFETCH(QString, source);
    QFETCH(QString, proposed);
    fixture_->state.inputChoice = choice;
    if (choice == kInputGalleryClip)
      fixture_->state.galleryClipName = source.toStdString();
    else
      fixture_->state.sourcePath = source.toStdString();
    setSizes(8000, 500);
    test::WizardHarness harness(*fixture_, kPageWaveOutput);
    QCOMPARE(harness.output->nameEdit()->text(), proposed);
    // A name the user typed is kept when the page is shown again.
    harness.output->nameEdit()->setText("mine");
    harness.wizard.restart();
    QCOMPARE(harness.output->nameEdit()->text(), QStringLiteral("mine"));
  }

  // Next checks the name from its first character; a refused name keeps the
  // page, with the focus back in the name edit, and nothing is stored.
  void nameRuleOnNext_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::newRow("dot") << "my.clip" << "The character '.' cannot be used in the compressed audio name.";
    QTest::newRow("space")
        << "my clip"
        << "The compressed audio file name may not contain spaces.  Some web browsers do not "
           "support files containing spaces.";
    QTest::newRow("empty") << "" << "A name for the compressed audio file is needed.";
    QTest::newRow("first bad character decides")
        << "a!b c" << "The character '!' cannot be used in the compressed audio name.";
    QTest::newRow("not ASCII") << "naïve" << "The character 'ï' cannot be used in the compressed audio name.";
    QTest::newRow("every allowed character") << "Az09()-_" << "";
  }
  void nameRuleOnNext() {
    QFETCH(QString, typed);
    QFETCH(QString, message);
    setSizes(8000, 500);
    fixture_->state.outputName = "before";
    test::WizardHarness harness(*fixture_, kPageWaveOutput);
    QLineEdit* name = harness.output->nameEdit();
    name->clear();
    // QTest types ASCII only; other text goes in as an input method would.
    bool ascii = true;
    for (QChar c : typed) ascii &= c.unicode() < 128;
    if (ascii)
      QTest::keyClicks(name, typed);
    else
      name->insert(typed);
    QTest::keyClick(harness.output->addToGalleryBox(), Qt::Key_Space);
    harness.next();

    if (message.isEmpty()) {
      QCOMPARE(harness.wizard.currentId(), int{kPageAppletProperties});
      QVERIFY(fixture_->presenter.shown().empty());
      QCOMPARE(QString::fromStdString(fixture_->state.outputName), typed);
      QVERIFY(fixture_->state.addToGallery);
      return;
    }
    QCOMPARE(harness.wizard.currentId(), int{kPageWaveOutput});
    const auto texts = fixture_->presenter.texts();
    QCOMPARE(texts.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(texts[0]), message);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(name));
    QCOMPARE(fixture_->state.outputName, std::string("before"));
    QVERIFY(!fixture_->state.addToGallery);
  }

  void controlsAreLabelledAndReachable() {
    setSizes(8000, 500);
    test::WizardHarness harness(*fixture_, kPageWaveOutput);
    CPageWaveOutput& page = *harness.output;
    QWidget* nameBuddy = nullptr;
    bool boldIntro = false;
    for (QLabel* label : page.findChildren<QLabel*>()) {
      if (label->text() == "&Specify the name for the compressed audio file") nameBuddy = label->buddy();
      if (label->wordWrap()) boldIntro = label->font().bold();
    }
    QCOMPARE(nameBuddy, static_cast<QWidget*>(page.nameEdit()));
    QVERIFY(boldIntro);
    QCOMPARE(page.nameEdit()->accessibleName(), QStringLiteral("Specify the name for the compressed audio file"));
    QCOMPARE(page.addToGalleryBox()->text(), QStringLiteral("&Add to gallery"));
    QVERIFY(!page.addToGalleryBox()->isChecked());
    QCOMPARE(page.nextId(), int{kPageAppletProperties});

    // The mnemonics: Alt+A ticks the box, Alt+S goes back to the name.
    QTest::keyClick(&harness.wizard, Qt::Key_A, Qt::AltModifier);
    QTRY_VERIFY(page.addToGalleryBox()->isChecked());  // a mnemonic clicks after a short animation
    QTest::keyClick(&harness.wizard, Qt::Key_S, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(page.nameEdit()));
  }

  void labelShowsWholeRatioAndPercent_data() {
    QTest::addColumn<uint>("pcm");
    QTest::addColumn<uint>("coded");
    QTest::addColumn<QString>("label");
    QTest::newRow("ratio 16.9") << 169u << 10u << "Compressed (16:1, 5%)";
    QTest::newRow("8000 to 500") << 8000u << 500u << "Compressed (16:1, 6%)";
    QTest::newRow("no gain") << 320u << 320u << "Compressed (1:1, 100%)";
    QTest::newRow("larger than the source") << 100u << 400u << "Compressed (0:1, 400%)";
    QTest::newRow("nothing compressed") << 1000u << 0u << "Compressed (nothing was compressed)";
    QTest::newRow("empty source") << 0u << 0u << "Compressed (nothing was compressed)";
  }
  void labelShowsWholeRatioAndPercent() {
    QFETCH(uint, pcm);
    QFETCH(uint, coded);
    QFETCH(QString, label);
    setSizes(pcm, coded);
    test::WizardHarness harness(*fixture_, kPageWaveOutput);
    QCOMPARE(harness.output->compressedLabelText(), label);
    QVERIFY(harness.output->chartArea()->accessibleName().contains(label));
  }

  // The page as drawn: bars where the layout puts them, in their colours,
  // the pointer and the label beside the compressed bar.
  void chartIsDrawnWhereTheLayoutPutsIt_data() {
    QTest::addColumn<uint>("pcm");
    QTest::addColumn<uint>("coded");
    QTest::addColumn<QString>("screenshot");
    QTest::newRow("8000 to 500") << 8000u << 500u << "output_page";
    QTest::newRow("ratio 3") << 9000u << 3000u << "";
    QTest::newRow("nothing compressed") << 1000u << 0u << "output_page_nothing_compressed";
  }
  void chartIsDrawnWhereTheLayoutPutsIt() {
    QFETCH(uint, pcm);
    QFETCH(uint, coded);
    QFETCH(QString, screenshot);
    setSizes(pcm, coded);
    fixture_->state.inputChoice = kInputSourceFile;
    fixture_->state.sourcePath = "/music/my song!.wav";
    test::WizardHarness harness(*fixture_, kPageWaveOutput);
    if (!screenshot.isEmpty()) test::saveScreenshot(harness.wizard, screenshot);

    CPageWaveOutput& page = *harness.output;
    const QImage image = page.grab().toImage();
    const QRect area = page.chartArea()->geometry();
    const int L = area.x(), T = area.y(), R = area.x() + area.width(), B = area.y() + area.height();
    const int W = R - L, H = B - T;
    QVERIFY(W > 100 && H > 40);
    auto colourAt = [&](int x, int y) { return image.pixelColor(x, y); };

    // Source bar: (L, T) to (R, T + H/2), outlined.
    QCOMPARE(colourAt(L + 3, T + 3), kChartSourceColour);
    QCOMPARE(colourAt(R - 4, T + H / 2 - 4), kChartSourceColour);
    QCOMPARE(colourAt(L + 1, T + H / 2 - 2), kChartSourceColour);
    QVERIFY(isDark(colourAt(L, T)));
    QVERIFY(isDark(colourAt(R - 1, T + H / 2 - 1)));
    QVERIFY(colourAt(R + 1, T + 3) != kChartSourceColour);
    QVERIFY(colourAt(L + 3, T + H / 2 + 1) != kChartSourceColour);

    const QRect lowerHalf(L, B - H / 2, W + 1, H / 2);
    const int yc = (B - H / 2) + (H / 2) / 2;
    if (coded == 0) {
      QCOMPARE(countPixels(image, lowerHalf, [](QColor c) { return c == kChartCompressedColour; }), 0);
      // The label starts at L.
      QVERIFY(countPixels(image, QRect(L, yc - 8, 40, 16), isDark) > 10);
      return;
    }
    // Compressed bar: (L, B - H/2) to (L + w, B), w = W / r truncated.
    const int w = static_cast<int>(W / (static_cast<double>(pcm) / coded));
    QCOMPARE(colourAt(L + 3, B - 3), kChartCompressedColour);
    QCOMPARE(colourAt(L + w - 4, B - H / 2 + 3), kChartCompressedColour);
    QVERIFY(isDark(colourAt(L + w - 1, B - 3)));
    QVERIFY(colourAt(L + w + 1, B - 3) != kChartCompressedColour);
    // The pointer: the dot on the bar's middle, the line out to L + w + 16,
    // then a gap, then the label from L + w + 20.
    QVERIFY(isDark(colourAt(L + w / 2, yc)));
    QVERIFY(isDark(colourAt(L + w + 10, yc)));
    const int textHeight = QFontMetrics(page.font()).height();
    QCOMPARE(countPixels(image, QRect(L + w + 16, yc - textHeight / 2, 4, textHeight), isDark), 0);
    QVERIFY(countPixels(image, QRect(L + w + 20, yc - textHeight / 2, 60, textHeight), isDark) > 20);

    // "Original", centred on R - (R - w) / 2 in the upper bar.
    const int originalX = R - (R - w) / 2;
    const int originalY = T + (H / 2) / 2 - textHeight / 2;
    const QRect originalBox(originalX - 40, originalY, 80, textHeight);
    const int left = countPixels(image, QRect(originalX - 40, originalY, 40, textHeight), isDark);
    const int right = countPixels(image, QRect(originalX, originalY, 40, textHeight), isDark);
    QVERIFY(left > 10 && right > 10);
    QVERIFY(left < 2 * right && right < 2 * left);
    QCOMPARE(countPixels(image, QRect(L + 2, T + 2, originalBox.left() - L - 4, H / 2 - 4), isDark), 0);
  }
};

}  // namespace zv

QTEST_MAIN(zv::OutputPageTest)
#include "output_page_test.moc"
