// webhost as a program: publishing the test webs, expanding a page, usage.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using zv::test::runProgram;

const fs::path kData = ZV_TEST_DATA_DIR;
const std::string kWebhost = ZV_WEBHOST_PROGRAM;
const std::string kChecker = ZV_HTML_CHECKER;

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class WebhostCommand : public ::testing::Test {
 protected:

  // The strict HTML check of a published page; its listing of the player
  // elements on success.
  std::string checkHtml(const fs::path& page) {
    const zv::test::ProgramRun run = runProgram({"/usr/bin/python3", kChecker, page.string()});
    EXPECT_EQ(run.exitStatus, 0) << page << "\n" << run.err;
    return run.out;
  }

  zv::test::TempDir folder_;
  const fs::path work_ = folder_.path();
};

TEST_F(WebhostCommand, PublishesAWebWithComponentsPlainPagesAndASubfolder) {
  const fs::path out = work_ / "published";
  const zv::test::ProgramRun run =
      runProgram({kWebhost, "publish", (kData / "web").string(), out.string()});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_NE(run.err.find("published 3 pages, copied 2 files"), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find("error"), std::string::npos) << run.err;

  // The same files, plain pages and other files byte for byte.
  for (const char* same : {"about.html", "hello.zvsa", "sub/notes.txt"}) {
    EXPECT_EQ(readFile(out / same), readFile(kData / "web" / same)) << same;
  }
  // The page with two components is exactly its published form.
  EXPECT_EQ(readFile(out / "index.htm"), readFile(kData / "web-published/index.htm"));

  EXPECT_EQ(checkHtml(out / "index.htm"),
            "applet width=\"64\" height=\"32\" code=\"ZvStreamPlayer.class\" "
            "codebase=\"/Java/ZvTavelwork\" align=\"middle\" "
            "alt=\"Java is not available in this browser\"\n"
            "param name=\"Clip\" value=\"hello.zvsa\"\n"
            "param name=\"Visible\" value=\"yes\"\n"
            "param name=\"Buttons\" value=\"2\"\n"
            "param name=\"Autoplay\" value=\"no\"\n"
            "param name=\"Count\" value=\"1\"\n"
            "applet width=\"0\" height=\"0\" code=\"ZvStreamPlayer.class\"\n"
            "param name=\"Clip\" value=\"jingle.zvsa\"\n"
            "param name=\"Visible\" value=\"no\"\n"
            "param name=\"Autoplay\" value=\"yes\"\n"
            "param name=\"Count\" value=\"-1\"\n"
            "webbot 4\n");
  // The subfolder's page had an older expansion in its span; its ALT holds
  // an ampersand and quotes, its clip an ampersand.
  EXPECT_EQ(checkHtml(out / "sub/news.html"),
            "object width=\"120\" height=\"40\" codetype=\"application/java\" "
            "classid=\"java:ZvStreamPlayer.class\" align=\"left\" "
            "alt=\"Tom & Jerry say 'hi'\" hspace=\"4\"\n"
            "param name=\"Clip\" value=\"rock&roll.zvsa\"\n"
            "param name=\"Visible\" value=\"yes\"\n"
            "param name=\"Buttons\" value=\"3\"\n"
            "param name=\"Autoplay\" value=\"no\"\n"
            "param name=\"Count\" value=\"2\"\n"
            "webbot 2\n");
  EXPECT_EQ(readFile(out / "sub/news.html").find("Old.class"), std::string::npos);
  EXPECT_EQ(checkHtml(out / "about.html"), "webbot 0\n");

  // A published web publishes again to the same pages.
  const fs::path again = work_ / "again";
  ASSERT_EQ(runProgram({kWebhost, "publish", out.string(), again.string()}).exitStatus, 0);
  for (const char* page : {"index.htm", "sub/news.html", "about.html"}) {
    EXPECT_EQ(readFile(again / page), readFile(out / page)) << page;
  }
}

TEST_F(WebhostCommand, MalformedPagesAreReportedAndLeftOut) {
  const fs::path web = kData / "web-malformed";
  const fs::path out = work_ / "published";
  const zv::test::ProgramRun run = runProgram({kWebhost, "publish", web.string(), out.string()});
  EXPECT_EQ(run.exitStatus, 1);
  const std::string expected[] = {
      (web / "badattribs.html").string() + ":14:1: error: S-ATTRIBS is not a list of HTML "
                                            "attributes: the value of ALT has no closing quote",
      (web / "nospan.htm").string() + ":2:4: error: the StartSpan comment of this ZvTavelwork "
                                      "component has no EndSpan comment after it",
      (web / "otherbot.htm").string() + ":2:12: error: component of another bot (\"Timestamp\")",
      (web / "unterminated.htm").string() + ":3:3: error: unterminated comment",
      "published 1 page, copied 1 file; 4 failures",
  };
  for (const std::string& line : expected) {
    EXPECT_NE(run.err.find(line), std::string::npos) << line << "\n---\n" << run.err;
  }
  EXPECT_TRUE(fs::exists(out / "good.htm"));
  EXPECT_TRUE(fs::exists(out / "readme.txt"));
  for (const char* bad : {"badattribs.html", "nospan.htm", "otherbot.htm", "unterminated.htm"}) {
    EXPECT_FALSE(fs::exists(out / bad)) << bad;
  }
  // Nothing half-written is left behind.
  std::size_t files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(out)) files += entry.is_regular_file();
  EXPECT_EQ(files, 2u);
  checkHtml(out / "good.htm");
}

// Publishing follows the same containment rule as preview and serve: a link
// whose target lies outside the web is not followed (nothing of what it
// points at reaches the published web); a link inside the web is.
TEST_F(WebhostCommand, PublishFollowsNoLinkOutOfTheWeb) {
  const fs::path web = work_ / "web";
  fs::create_directories(web / "sub");
  fs::create_directories(work_ / "private");
  std::ofstream(work_ / "private" / "secret.txt") << "secret";
  std::ofstream(web / "sub" / "clip.zvsa") << "clip";
  fs::create_symlink("../private/secret.txt", web / "leak.txt");
  fs::create_symlink("sub/clip.zvsa", web / "same-clip.zvsa");
  const fs::path out = work_ / "published";
  const zv::test::ProgramRun run = runProgram({kWebhost, "publish", web.string(), out.string()});
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_FALSE(fs::exists(out / "leak.txt"));
  EXPECT_NE(run.err.find((web / "leak.txt").string() + ": warning: skipped: a link that leads outside the web"),
            std::string::npos)
      << run.err;
  EXPECT_EQ(readFile(out / "same-clip.zvsa"), "clip");
}

TEST_F(WebhostCommand, ExpandWritesOnePublishedPageToStandardOutput) {
  const zv::test::ProgramRun run =
      runProgram({kWebhost, "expand", (kData / "web/index.htm").string()});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(run.out, readFile(kData / "web-published/index.htm"));
  EXPECT_EQ(run.err, "");

  const zv::test::ProgramRun bad =
      runProgram({kWebhost, "expand", (kData / "web-malformed/nospan.htm").string()});
  EXPECT_EQ(bad.exitStatus, 1);
  EXPECT_EQ(bad.out, "");
  EXPECT_NE(bad.err.find("nospan.htm:2:4: error:"), std::string::npos) << bad.err;

  const zv::test::ProgramRun missing =
      runProgram({kWebhost, "expand", (work_ / "no-such-page.htm").string()});
  EXPECT_EQ(missing.exitStatus, 1);
  EXPECT_NE(missing.err.find("no-such-page.htm: error: cannot read the page"), std::string::npos)
      << missing.err;
}

TEST_F(WebhostCommand, UsageHelpAndBadArguments) {
  const zv::test::ProgramRun help = runProgram({kWebhost, "--help"});
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_NE(help.out.find("webhost publish WEB OUT"), std::string::npos);
  const zv::test::ProgramRun version = runProgram({kWebhost, "--version"});
  EXPECT_EQ(version.exitStatus, 0);
  EXPECT_EQ(version.out.rfind("webhost 1.0", 0), 0u) << version.out;

  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const std::string web = (kData / "web").string();
  const Case cases[] = {
      {{}, "no command given"},
      {{"publish", web}, "publish needs a web folder and an output folder"},
      {{"expand"}, "expand needs one page"},
      {{"render", "x"}, "unknown command"},
      {{"publish", web, web + "/inside"}, "must not be the web folder nor lie inside it"},
      {{"publish", (work_ / "missing").string(), (work_ / "out").string()}, "not a folder"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> argv = {kWebhost};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    const zv::test::ProgramRun run = runProgram(argv);
    EXPECT_EQ(run.exitStatus, 2) << c.message;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  }
  EXPECT_FALSE(fs::exists(kData / "web/inside"));
}

}  // namespace
