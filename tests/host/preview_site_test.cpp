// What `webhost preview` answers for request paths, without HTTP: published
// pages with the player script, files with their media types, folders, the
// player's files from the installation, and the paths it refuses.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "host/editbot_binding.h"
#include "host/preview_site.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using zv::host::mediaTypeOf;
using zv::host::PreviewReply;
using zv::host::PreviewSite;

void writeFile(const fs::path& path, const std::string& content) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << content;
}

const std::string kComponent =
    "<p><!--WEBBOT bot=\"ZvTavelwork\" StartSpan I-NUMBUTTONS=\"3\" I-AUTOPLAY=\"0\" I-VISIBLE=\"1\" "
    "I-COUNT=\"1\" I-HEIGHT=\"32\" I-WIDTH=\"96\" S-CLASS=\"ZvStreamPlayer.class\" "
    "S-CODEBASE=\"/Java/ZvTavelwork\" S-APPLETTAG=\"APPLET\" S-ALIGN=\"middle\" S-BODY=\"No sound\" "
    "S-ATTRIBS=\"\" S-CLIP=\"clip.zvsa\" -->\r\n\r\n<!--WEBBOT bot=\"ZvTavelwork\" EndSpan --><p>\r\n";

class PreviewSiteTest : public testing::Test {
 protected:
  PreviewSiteTest() {
    const fs::path webDir = web();
    writeFile(webDir / "index.htm", "<html><body>\r\n" + kComponent + "</body></html>\r\n");
    writeFile(webDir / "clip.zvsa", std::string("\x00\x01\x02\xff", 4));
    writeFile(webDir / "sub" / "plain.html", "<p>plain</p>");
    writeFile(webDir / "sub" / "picture.GIF", "GIF89a");
    writeFile(webDir / "own" / "QV80W.wasm", "the web's own copy");
    writeFile(webDir / "broken.htm", "<p><!--WEBBOT bot=\"ZvTavelwork\" StartSpan S-CLIP=\"x\" -->");
    writeFile(player() / "ZvStreamPlayer.js", "// the player");
    writeFile(player() / "QV80W.wasm", "installed decoder");
    writeFile(fs::path(outside_.path()) / "secret.txt", "secret");
    fs::create_symlink(fs::path(outside_.path()) / "secret.txt", webDir / "leak.txt");
    writeFile(webDir / ".git" / "config", "secret: the author's tools");
    writeFile(webDir / "sub" / ".htaccess", "secret");
    writeFile(webDir / "sub" / ".page.htm.swp", "secret");
  }

  fs::path web() const { return fs::path(root_.path()) / "web"; }
  fs::path player() const { return fs::path(root_.path()) / "player"; }

  PreviewReply get(const std::string& path) { return site_.get(path); }

  zv::test::TempDir root_;
  zv::test::TempDir outside_;
  zv::host::EditBotBinding edit_bot_;
  std::ostringstream log_;
  PreviewSite site_{web(), player(), [this](std::string& why) { return edit_bot_.expand(why); }, log_};
};

TEST_F(PreviewSiteTest, PagesArePublishedWithThePlayerScript) {
  for (const char* path : {"/", "/index.htm", "//./index.htm"}) {
    SCOPED_TRACE(path);
    const PreviewReply reply = get(path);
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.contentType, "text/html");
    EXPECT_NE(reply.body.find("<APPLET WIDTH=\"96\" HEIGHT=\"32\" CODE=\"ZvStreamPlayer.class\""),
              std::string::npos)
        << reply.body;
    EXPECT_NE(reply.body.find("<script src=\"/Java/ZvTavelwork/ZvStreamPlayer.js\" defer></script>"),
              std::string::npos)
        << reply.body;
  }
  EXPECT_EQ(log_.str(), "");
}

TEST_F(PreviewSiteTest, FilesComeAsTheyAreWithTheirMediaTypes) {
  struct Case {
    const char* path;
    const char* type;
    std::string body;
  };
  const Case cases[] = {
      {"/clip.zvsa", "application/octet-stream", std::string("\x00\x01\x02\xff", 4)},
      {"/sub/plain.html", "text/html", "<p>plain</p>"},
      {"/sub/picture.GIF", "image/gif", "GIF89a"},
      // The web's own copy of a player file wins over the installed one...
      {"/own/QV80W.wasm", "application/wasm", "the web's own copy"},
      // ...and the installed one stands in wherever the web lacks it.
      {"/Java/ZvTavelwork/QV80W.wasm", "application/wasm", "installed decoder"},
      {"/ZvStreamPlayer.js", "text/javascript", "// the player"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const PreviewReply reply = get(c.path);
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.contentType, c.type);
    EXPECT_EQ(reply.body, c.body);
  }
}

TEST_F(PreviewSiteTest, FoldersRedirectToTheirSlashAndListTheirFiles) {
  const PreviewReply redirect = get("/sub");
  EXPECT_EQ(redirect.status, 301);
  EXPECT_EQ(redirect.location, "/sub/");
  const PreviewReply listing = get("/sub/");
  EXPECT_EQ(listing.status, 200);
  EXPECT_NE(listing.body.find("<a href=\"picture.GIF\">picture.GIF</a>"), std::string::npos) << listing.body;
  EXPECT_NE(listing.body.find("<a href=\"plain.html\">plain.html</a>"), std::string::npos) << listing.body;
  EXPECT_EQ(listing.body.find("htaccess"), std::string::npos) << "dotfiles are not listed";
  EXPECT_EQ(get("/").body.find(".git"), std::string::npos);
}

TEST_F(PreviewSiteTest, PathsOutsideTheWebAndMissingFilesAreRefused) {
  struct Case {
    std::string path;
    int status;
  };
  const Case cases[] = {
      {"/../player/QV80W.wasm", 403}, {"/sub/../../player/QV80W.wasm", 403},
      {"/leak.txt", 403},             {"/missing.htm", 404},
      {"/sub/other.wasm", 404},       {"relative", 404},
      // NUL bytes (a request's %00) lie outside every web.
      {std::string("/clip.zvsa\0.txt", 15), 403},
      // Dotfiles and dot-folders are the author's tools, not the web's pages.
      {"/.git/config", 404},          {"/.git/", 404},
      {"/sub/.htaccess", 404},        {"/sub/.page.htm.swp", 404},
      {"/sub/./.htaccess", 404},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const PreviewReply reply = get(c.path);
    EXPECT_EQ(reply.status, c.status);
    EXPECT_EQ(reply.body.find("secret"), std::string::npos);
    EXPECT_EQ(reply.body.find("installed decoder"), std::string::npos);
  }
}

TEST_F(PreviewSiteTest, APageThatCannotBePublishedShowsWhyAndIsLogged) {
  const PreviewReply reply = get("/broken.htm");
  EXPECT_EQ(reply.status, 500);
  EXPECT_NE(reply.body.find("broken.htm:1:4: error:"), std::string::npos) << reply.body;
  EXPECT_NE(log_.str().find("broken.htm:1:4: error:"), std::string::npos) << log_.str();
}

TEST(PreviewMediaTypes, ByExtensionInAnyLetterCase) {
  EXPECT_EQ(mediaTypeOf("a/QV160MXW.wasm"), "application/wasm");
  EXPECT_EQ(mediaTypeOf("ZvStreamPlayer.js"), "text/javascript");
  EXPECT_EQ(mediaTypeOf("PAGE.HTM"), "text/html");
  EXPECT_EQ(mediaTypeOf("x.jpeg"), "image/jpeg");
  EXPECT_EQ(mediaTypeOf("clip.zvsa"), "application/octet-stream");
  EXPECT_EQ(mediaTypeOf("README"), "application/octet-stream");
}

}  // namespace
