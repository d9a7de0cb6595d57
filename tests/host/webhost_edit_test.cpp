// `webhost edit` on a fixture web: the component's own sheet (answered
// through its widgets) changes one setting; the page keeps every other byte,
// and publishing it shows the change in the element.
#include <QCheckBox>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "host/edit_command.h"
#include "host/editbot_binding.h"
#include "host/page_parser.h"
#include "host/web_publisher.h"
#include "platform/file_url.h"
#include "tests/support/modal_dialog.h"
#include "tests/support/temp_dir.h"

using zv::test::ModalScript;
namespace fs = std::filesystem;

namespace {

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  if (at == std::string::npos) return "(\"" + from + "\" not found)";
  return text.replace(at, from.size(), to);
}

}  // namespace

class WebhostEditTest : public QObject {
  Q_OBJECT

 private slots:
  void oneChangedSettingReachesThePageAndThePublishedElement() {
    zv::test::TempDir dir;
    fs::copy(ZV_TEST_DATA_DIR "/web", dir.path() + "/web", fs::copy_options::recursive);
    const std::string pagePath = dir.path() + "/web/index.htm";
    const std::string before = readFile(pagePath);

    ModalScript script;
    script.then([](QWidget* sheet) {
      QCheckBox* autoplay = ModalScript::find<QCheckBox>(sheet, "Autoplay");
      QVERIFY(autoplay && !autoplay->isChecked());
      autoplay->click();
      ModalScript::press(sheet, QDialogButtonBox::Ok);
    });
    zv::host::EditBotBinding editBot;
    std::ostringstream report;
    QCOMPARE(zv::host::editComponent(pagePath, 1, editBot, report), zv::host::kStatusOk);
    QVERIFY(script.finished());
    QVERIFY2(report.str().find("changed") != std::string::npos, report.str().c_str());

    // Besides Autoplay, Edit always writes a new preview (an image in the
    // installation's private data folder) and the text-only flag, which a freshly
    // inserted component lacks. Nothing else may change.
    std::string why;
    QVERIFY2(editBot.edit(why) != nullptr, why.c_str());
    const std::string imageFolder = fs::canonical(ZV_PRIVATE_DATA_FOLDER).string() + "/";
    const std::string newPreview = "&lt;IMG SRC=&quot;" + zv::fileUrlForPath(imageFolder) +
                                   "FPTwoButton.gif&quot; HEIGHT=&quot;32&quot; WIDTH=&quot;64&quot;&gt;";
    std::string expected = replaced(
        before,
        "&lt;IMG SRC=&quot;file:///usr/lib/zvtavelworks/FPTwoButton.gif&quot; HEIGHT=&quot;32&quot; "
        "WIDTH=&quot;64&quot;&gt;",
        newPreview);
    expected = replaced(expected, "I-AUTOPLAY=\"0\"", "I-AUTOPLAY=\"1\"");
    expected = replaced(expected, "S-CLIP=\"hello.zvsa\" -->", "S-CLIP=\"hello.zvsa\" I-USETEXT=\"0\" -->");
    QCOMPARE(QString::fromStdString(readFile(pagePath)), QString::fromStdString(expected));

    // Published, the first element now starts by itself; the second is as it was.
    zv::host::WebPublisher publisher([&editBot](std::string& why) { return editBot.expand(why); },
                                     report);
    std::ostringstream published;
    QCOMPARE(publisher.expandPage(pagePath, published), zv::host::kStatusOk);
    const std::string html = published.str();
    const std::size_t first = html.find("<PARAM NAME=\"Clip\" VALUE=\"hello.zvsa\">");
    QVERIFY(first != std::string::npos);
    QVERIFY(html.find("<PARAM NAME=\"Autoplay\" VALUE=\"yes\">", first) <
            html.find("<PARAM NAME=\"Clip\" VALUE=\"jingle.zvsa\">"));
  }

  void cancelLeavesThePageAsItWas() {
    zv::test::TempDir dir;
    fs::copy(ZV_TEST_DATA_DIR "/web", dir.path() + "/web", fs::copy_options::recursive);
    const std::string pagePath = dir.path() + "/web/index.htm";
    const std::string before = readFile(pagePath);
    ModalScript script;
    script.then([](QWidget* sheet) {
      ModalScript::find<QCheckBox>(sheet, "Autoplay")->click();
      ModalScript::press(sheet, QDialogButtonBox::Cancel);
    });
    zv::host::EditBotBinding editBot;
    std::ostringstream report;
    QCOMPARE(zv::host::editComponent(pagePath, 2, editBot, report), zv::host::kStatusOk);
    QCOMPARE(readFile(pagePath), before);
  }

  void aComponentNumberThePageLacksIsBadUsage() {
    zv::host::EditBotBinding editBot;
    std::ostringstream report;
    QCOMPARE(zv::host::editComponent(ZV_TEST_DATA_DIR "/web/index.htm", 3, editBot, report),
             zv::host::kStatusBadUsage);
    QVERIFY2(report.str().find("has 2 ZvTavelwork component(s); there is no component 3") !=
                 std::string::npos,
             report.str().c_str());
  }
};

QTEST_MAIN(WebhostEditTest)
#include "webhost_edit_test.moc"
