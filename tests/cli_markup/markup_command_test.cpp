// zvsa markup: defaults of a fresh wizard, one option per setting, the WEBBOT
// text, output files and the command line's errors.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/zvsa_main.h"
#include "platform/percent_encoding.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

struct CommandRun {
  int status;
  std::string out;
  std::string err;
};

// "zvsa markup ARGS", run in this process.
CommandRun runMarkup(std::vector<std::string> args) {
  args.insert(args.begin(), {"zvsa", "markup"});
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  const int status = zv::cli::zvsaMain(static_cast<int>(args.size()), argv.data());
  std::string out = ::testing::internal::GetCapturedStdout();
  std::string err = ::testing::internal::GetCapturedStderr();
  return {status, out, err};
}

std::string lines(const std::vector<std::string>& text, const std::string& end = "\n") {
  std::string joined;
  for (const std::string& line : text) joined += line + end;
  return joined;
}

const std::string kBody = "This browser is aware of Java applets, but is unable to execute them.";

TEST(MarkupCommand, DefaultsAreThoseOfAFreshWizard) {
  const CommandRun run = runMarkup({"hello.zvsa"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out,
            lines({"<APPLET WIDTH=\"64\" HEIGHT=\"32\" CODE=\"ZvStreamPlayer.class\" "
                   "CODEBASE=\"/Java/ZvTavelwork\" ALIGN=\"middle\" "
                   "ALT=\"Java is not available in this browser\">",
                   "    <PARAM NAME=\"Clip\" VALUE=\"hello.zvsa\">",
                   "    <PARAM NAME=\"Visible\" VALUE=\"yes\">",
                   "    <PARAM NAME=\"Buttons\" VALUE=\"2\">",
                   "    <PARAM NAME=\"Autoplay\" VALUE=\"no\">",
                   "    <PARAM NAME=\"Count\" VALUE=\"1\">", kBody, "</APPLET>"}));
}

TEST(MarkupCommand, EachSettingHasItsOption) {
  struct Case {
    std::vector<std::string> args;
    std::string expected;
  };
  const Case cases[] = {
      {{"--buttons", "3", "c.zvsa", "--attributes", "", "--body="},
       lines({"<APPLET WIDTH=\"96\" HEIGHT=\"32\" CODE=\"ZvStreamPlayer.class\" "
              "CODEBASE=\"/Java/ZvTavelwork\" ALIGN=\"middle\">",
              "    <PARAM NAME=\"Clip\" VALUE=\"c.zvsa\">", "    <PARAM NAME=\"Visible\" VALUE=\"yes\">",
              "    <PARAM NAME=\"Buttons\" VALUE=\"3\">", "    <PARAM NAME=\"Autoplay\" VALUE=\"no\">",
              "    <PARAM NAME=\"Count\" VALUE=\"1\">", "</APPLET>"})},
      {{"c.zvsa", "--visible=0", "--autoplay", "1", "--count", "continuously", "--tag", "OBJECT",
        "--codebase", "", "--align", "", "--attributes", "", "--body", "two\nlines",
        "--class", "Other.class"},
       lines({"<OBJECT WIDTH=\"0\" HEIGHT=\"0\" CODETYPE=\"application/java\" "
              "CLASSID=\"java:Other.class\">",
              "    <PARAM NAME=\"Clip\" VALUE=\"c.zvsa\">", "    <PARAM NAME=\"Visible\" VALUE=\"no\">",
              "    <PARAM NAME=\"Autoplay\" VALUE=\"yes\">", "    <PARAM NAME=\"Count\" VALUE=\"-1\">",
              "two\nlines", "</OBJECT>"})},
      {{"--height", "40", "--width", "100", "--count=-1", "--buttons=1", "--align", "left",
        "--attributes", "HSPACE=4", "--body", "", "--crlf", "--", "-dash.zvsa"},
       lines({"<APPLET WIDTH=\"100\" HEIGHT=\"40\" CODE=\"ZvStreamPlayer.class\" "
              "CODEBASE=\"/Java/ZvTavelwork\" ALIGN=\"left\" HSPACE=4>",
              "    <PARAM NAME=\"Clip\" VALUE=\"-dash.zvsa\">",
              "    <PARAM NAME=\"Visible\" VALUE=\"yes\">", "    <PARAM NAME=\"Buttons\" VALUE=\"1\">",
              "    <PARAM NAME=\"Autoplay\" VALUE=\"no\">", "    <PARAM NAME=\"Count\" VALUE=\"-1\">",
              "</APPLET>"},
             "\r\n")},
  };
  for (const Case& c : cases) {
    const CommandRun run = runMarkup(c.args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, c.expected);
  }
}

// Without --width the width follows the wizard's calculate-width rule.
TEST(MarkupCommand, WidthIsCalculatedFromHeightAndButtons) {
  struct Case {
    std::vector<std::string> args;
    std::string opening;
  };
  const Case cases[] = {
      {{"--buttons", "3"}, "<APPLET WIDTH=\"96\" HEIGHT=\"32\" "},
      {{"--height", "20", "--buttons", "3"}, "<APPLET WIDTH=\"60\" HEIGHT=\"20\" "},
      {{"--height", "20000", "--buttons", "3"}, "<APPLET WIDTH=\"32767\" HEIGHT=\"20000\" "},
      {{"--buttons", "1", "--width", "500"}, "<APPLET WIDTH=\"500\" HEIGHT=\"32\" "},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    args.push_back("c.zvsa");
    const CommandRun run = runMarkup(args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind(c.opening, 0), 0u) << run.out;
  }
}

TEST(MarkupCommand, WebBotTextForTheClip) {
  const CommandRun run =
      runMarkup({"hello.zvsa", "--webbot", "--preview-image", "file:///srv/zv/FPTwoButton.gif"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            lines({"<p><!--WEBBOT bot=\"ZvTavelwork\" StartSpan PREVIEW=\"&lt;IMG "
                   "SRC=&quot;file:///srv/zv/FPTwoButton.gif&quot; HEIGHT=&quot;32&quot; "
                   "WIDTH=&quot;64&quot;&gt;\"",
                   " I-NUMBUTTONS=\"2\" ", "I-AUTOPLAY=\"0\" ", "I-VISIBLE=\"1\" ", "I-COUNT=\"1\" ",
                   "I-HEIGHT=\"32\" ", "I-WIDTH=\"64\" ", "S-CLASS=\"ZvStreamPlayer.class\" ",
                   "S-CODEBASE=\"/Java/ZvTavelwork\" ", "S-APPLETTAG=\"APPLET\" ",
                   "S-ALIGN=\"middle\" ", "S-BODY=\"" + kBody + "\" ",
                   "S-ATTRIBS=\"ALT=&quot;Java is not available in this browser&quot;\" ",
                   "S-CLIP=\"hello.zvsa\" -->", "",
                   "<!--WEBBOT bot=\"ZvTavelwork\" EndSpan --><p>"},
                  "\r\n"));

  // By default the image is the installation's own (its private data
  // folder, where the build puts the preview images too) and follows the
  // buttons.
  const CommandRun defaultImage = runMarkup({"hello.zvsa", "--webbot", "--buttons", "3"});
  EXPECT_EQ(defaultImage.status, 0);
  const std::string prefix = "<p><!--WEBBOT bot=\"ZvTavelwork\" StartSpan PREVIEW=\"&lt;IMG SRC=&quot;file://";
  ASSERT_EQ(defaultImage.out.rfind(prefix, 0), 0u) << defaultImage.out;
  const std::size_t end = defaultImage.out.find("&quot;", prefix.size());
  ASSERT_NE(end, std::string::npos) << defaultImage.out;
  const fs::path image = zv::percentDecode(defaultImage.out.substr(prefix.size(), end - prefix.size()));
  EXPECT_EQ(image.lexically_normal(), (fs::path(ZV_PRIVATE_DATA_FOLDER) / "FPThreeButton.gif").lexically_normal());
#ifdef ZV_PREVIEW_IMAGES_BUILT
  EXPECT_TRUE(fs::is_regular_file(image)) << image;
#endif
  const std::string sizes = "&quot; HEIGHT=&quot;32&quot; WIDTH=&quot;96&quot;";
  EXPECT_EQ(defaultImage.out.compare(end, sizes.size(), sizes), 0) << defaultImage.out;
}

TEST(MarkupCommand, BadCommandLinesAreRefusedWithTheReason) {
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const Case cases[] = {
      {{}, "no clip given"},
      {{"a.zvsa", "b.zvsa"}, "one clip only"},
      {{""}, "the clip name is empty"},
      {{"a.zvsa", "--colour", "red"}, "unknown option '--colour'"},
      {{"a.zvsa", "--buttons", "4"}, "the number of buttons must be a whole number from 1 to 3, not '4'"},
      {{"a.zvsa", "--buttons"}, "option '--buttons' needs a value (N)"},
      {{"a.zvsa", "--count", "0"}, "the play count must be a whole number from 1 to 32767"},
      {{"a.zvsa", "--count", "40000"}, "the play count must be"},
      {{"a.zvsa", "--count", "5 "}, "the play count must be a whole number from 1 to 32767, not '5 '"},
      {{"a.zvsa", "--height", "9"}, "the height must be a whole number from 10 to 32767"},
      {{"a.zvsa", "--width", "abc"}, "the width must be"},
      {{"a.zvsa", "--autoplay", "yes"}, "--autoplay must be a whole number from 0 to 1"},
      {{"a.zvsa", "--visible", "2"}, "--visible must be"},
      {{"a.zvsa", "--tag", "EMBED"}, "the tag must be APPLET or OBJECT, not 'EMBED'"},
      {{"a.zvsa", "--align", "centre"}, "the alignment must be top, middle"},
      {{"a.zvsa", "--class", ""}, "the applet class must not be empty"},
      {{"a.zvsa", "--crlf=1"}, "option '--crlf' takes no value"},
      {{"a.zvsa", "--preview-image", "x.gif"}, "--preview-image needs --webbot"},
      {{"a.zvsa", "--jobs", "2"}, "option '--jobs' is for encode and decode only"},
  };
  for (const Case& c : cases) {
    const CommandRun run = runMarkup(c.args);
    EXPECT_EQ(run.status, 2) << c.message;
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("zvsa markup: " + c.message), std::string::npos) << run.err;
  }
}

TEST(MarkupCommand, HelpListsEveryOption) {
  const CommandRun run = runMarkup({"--help"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out.rfind("Usage: zvsa markup CLIP [options]\n", 0), 0u);
  for (const char* option :
       {"--buttons N", "--autoplay 0|1", "--visible 0|1", "--count N", "--height PIXELS",
        "--width PIXELS", "--class NAME", "--codebase PATH", "--tag TAG", "--align ALIGN",
        "--body TEXT", "--attributes TEXT", "--crlf", "--webbot", "--preview-image URL",
        "-o, --output FILE", "-h, --help", "(default: \"ZvStreamPlayer.class\")",
        "(default: ALT=\"Java is not available in this browser\")"}) {
    EXPECT_NE(run.out.find(option), std::string::npos) << option;
  }
}

// --player: the markup, then the element that loads the web player, as
// webhost publish writes it into a page with that class folder.
TEST(MarkupCommand, PlayerScriptFollowsTheMarkup) {
  const std::string markup = runMarkup({"hello.zvsa"}).out;
  struct Case {
    std::vector<std::string> args;
    std::string script;
  };
  const Case cases[] = {
      {{"--player", "/Java/ZvTavelwork/"}, "<script src=\"/Java/ZvTavelwork/ZvStreamPlayer.js\" defer></script>\n"},
      {{"--player", "https://cdn.example/p/ZvStreamPlayer.js?v=1&x=\"2\""},
       "<script src=\"https://cdn.example/p/ZvStreamPlayer.js?v=1&amp;x=&quot;2&quot;\" defer></script>\n"},
      {{"--player=ZvStreamPlayer.js"}, "<script src=\"ZvStreamPlayer.js\" defer></script>\n"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    args.push_back("hello.zvsa");
    const CommandRun run = runMarkup(args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, markup + c.script);
  }
  const CommandRun crlf = runMarkup({"hello.zvsa", "--crlf", "--player", "p/"});
  EXPECT_EQ(crlf.out, runMarkup({"hello.zvsa", "--crlf"}).out +
                          "<script src=\"p/ZvStreamPlayer.js\" defer></script>\r\n");

  for (const auto& [args, message] : std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{"a.zvsa", "--player", ""}, "the player's URL is empty"},
           {{"a.zvsa", "--webbot", "--player", "p/"}, "--player goes with the markup, not --webbot"},
       }) {
    const CommandRun run = runMarkup(args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("zvsa markup: " + message), std::string::npos) << run.err;
  }
  EXPECT_NE(runMarkup({"--help"}).out.find("--player URL"), std::string::npos);
}

// As the program: the output file is written whole, or not at all.
// --element: the web player's own element, its settings as attributes and
// the body text as its fallback, every value kept inside its place.
TEST(MarkupCommand, PlayerElementForPagesWrittenByHand) {
  struct Case {
    std::vector<std::string> args;
    std::string out;
  };
  const Case cases[] = {
      {{"hello.zvsa", "--element", "--body", "No sound here"},
       "<zv-stream-player clip=\"hello.zvsa\" buttons=\"2\" count=\"1\" width=\"64\" height=\"32\" visible>"
       "No sound here</zv-stream-player>\n"},
      {{"a.zvsa", "--element", "--buttons", "3", "--count", "-1", "--autoplay", "1", "--visible", "0", "--body", "x"},
       "<zv-stream-player clip=\"a.zvsa\" buttons=\"3\" count=\"-1\" width=\"96\" height=\"32\" autoplay>x"
       "</zv-stream-player>\n"},
      {{"my \"clip\" <b>&.zvsa", "--element", "--body", "a <b> & \"c\""},
       "<zv-stream-player clip=\"my &quot;clip&quot; &lt;b&gt;&amp;.zvsa\" buttons=\"2\" count=\"1\" width=\"64\" "
       "height=\"32\" visible>a &lt;b&gt; &amp; &quot;c&quot;</zv-stream-player>\n"},
      {{"c.zvsa", "--element", "--body", "", "--crlf", "--player", "/p/"},
       "<zv-stream-player clip=\"c.zvsa\" buttons=\"2\" count=\"1\" width=\"64\" height=\"32\" visible>"
       "</zv-stream-player>\r\n<script src=\"/p/ZvStreamPlayer.js\" defer></script>\r\n"},
  };
  for (const Case& c : cases) {
    const CommandRun run = runMarkup(c.args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, c.out);
  }
  const CommandRun both = runMarkup({"a.zvsa", "--element", "--webbot"});
  EXPECT_EQ(both.status, 2);
  EXPECT_NE(both.err.find("--element and --webbot exclude each other"), std::string::npos) << both.err;
}

TEST(MarkupCommand, OutputFileThroughTheDriverProgram) {
  const zv::test::TempDir folder;
  const fs::path work = folder.path();

  const fs::path file = work / "player.htm";
  const zv::test::ProgramRun run =
      zv::test::runProgram({ZVSA_PATH, "markup", "clip.zvsa", "-o", file.string()});
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(run.out, "");
  std::ifstream in(file, std::ios::binary);
  std::ostringstream written;
  written << in.rdbuf();
  EXPECT_EQ(written.str(), runMarkup({"clip.zvsa"}).out);

  const zv::test::ProgramRun failed = zv::test::runProgram(
      {ZVSA_PATH, "markup", "clip.zvsa", "-o", (work / "missing/player.htm").string()});
  EXPECT_EQ(failed.exitStatus, 1);
  EXPECT_NE(failed.err.find("missing/player.htm: No such file or directory"), std::string::npos)
      << failed.err;
  EXPECT_FALSE(fs::exists(work / "missing"));
}

}  // namespace

namespace {

// The markup as a browser reads it: the strict HTML checker of the published
// pages parses it (Python's html.parser) and lists the player's elements with
// their attribute values decoded. Values that hold quotes, '<', '>', '&',
// spaces and non-ASCII bytes come out as they went in, in one element.
TEST(MarkupCommand, AnHtmlParserReadsBackEveryValue) {
  zv::test::TempDir work;
  const struct {
    std::vector<std::string> arguments;
    std::vector<std::string> expectedLines;
  } cases[] = {
      {{"my \"clip\" <b>.zvsa"},
       {"param name=\"Clip\" value=\"my%20%22clip%22%20%3Cb%3E.zvsa\""}},
      {{"Gr\xC3\xBC\xC3\x9F" "e & co.zvsa", "--class", "Odd\"Player'<x>.class", "--codebase",
        "/Java/a&b \"c\"", "--tag", "OBJECT"},
       {"codetype=\"application/java\" classid=\"java:Odd\\\"Player'<x>.class\" codebase=\"/Java/a&b \\\"c\\\"\" align=\"middle\"",
        "param name=\"Clip\" value=\"Gr%C3%BC%C3%9Fe%20&%20co.zvsa\""}},
      {{"c.zvsa", "--attributes", "ALT=\"a > b\" TITLE=x\"y NAME=<q>"},
       {"applet width=\"64\" height=\"32\" code=\"ZvStreamPlayer.class\" codebase=\"/Java/ZvTavelwork\" "
        "align=\"middle\" alt=\"a > b\" title=\"x\\\"y\" name=\"<q>\""}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments.front());
    const fs::path page = fs::path(work.path()) / "markup.htm";
    std::vector<std::string> argv{ZVSA_PATH, "markup"};
    argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
    argv.insert(argv.end(), {"-o", page.string()});
    const zv::test::ProgramRun made = zv::test::runProgram(argv);
    ASSERT_EQ(made.exitStatus, 0) << made.err;
    const zv::test::ProgramRun read =
        zv::test::runProgram({"/usr/bin/python3", ZV_HTML_CHECKER, page.string()});
    EXPECT_EQ(read.exitStatus, 0) << read.err;
    for (const std::string& line : c.expectedLines)
      EXPECT_NE(read.out.find(line), std::string::npos) << line << "\nin\n" << read.out;
    EXPECT_NE(read.out.find("param name=\"Count\""), std::string::npos) << "every PARAM inside the element";
  }
}

}  // namespace
