// The web that `webhost serve` offers: checking the options, mapping web
// paths and URLs to files (and refusing those outside the web), and the
// file operations behind the Explorer's and the Editor's calls.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "host/served_web.h"
#include "host/serve_command.h"
#include "tests/support/temp_dir.h"

namespace zv::host {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void writeFile(const fs::path& path, const std::string& content) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << content;
}

class ServedWebTest : public testing::Test {
 protected:
  ServedWebTest() : web(fs::path(folder.path()) / "my web \xC3\xA9") {
    writeFile(web / "sub" / "index.htm", kPage);
  }

  ServedWeb open(ServeOptions options) {
    std::string error;
    std::optional<ServedWeb> served = ServedWeb::open(options, error);
    if (!served) throw std::runtime_error(error);
    return std::move(*served);
  }

  ServeOptions options() const {
    ServeOptions o;
    o.web = web;
    o.page = "sub/index.htm";
    return o;
  }

  static constexpr char kPage[] = "<html><body>\n<!-- here -->\n</body></html>\n";
  test::TempDir folder;
  fs::path web;
};

TEST_F(ServedWebTest, UrlsOfADiskBasedWebArePercentEncoded) {
  const ServedWeb served = open(options());
  const std::string base = "file://" + folder.path() + "/my%20web%20%C3%A9";
  EXPECT_EQ(served.webUrl(), base);
  EXPECT_EQ(served.pageUrl(), base + "/sub/index.htm");
}

TEST_F(ServedWebTest, GivenUrlIsTheWebUrl) {
  ServeOptions o = options();
  o.url = "http://example.org/myweb/";
  const ServedWeb served = open(o);
  EXPECT_EQ(served.webUrl(), "http://example.org/myweb");
  EXPECT_EQ(served.pageUrl(), "http://example.org/myweb/sub/index.htm");
  EXPECT_EQ(served.fileForUrl("http://example.org/myweb/sub/a.zvsa"), web / "sub" / "a.zvsa");
  EXPECT_EQ(served.fileForUrl("HTTP://EXAMPLE.ORG/myweb/a"), web / "a");
  EXPECT_EQ(served.fileForUrl("http://example.org/other/a"), std::nullopt);
}

TEST_F(ServedWebTest, WebPathsMapIntoTheFolderOnly) {
  ServeOptions o = options();
  o.url = "http://S/myweb";
  const ServedWeb served = open(o);
  struct Case {
    const char* webPath;
    std::optional<fs::path> file;
  };
  const Case cases[] = {
      {"/myweb/sub/a.zvsa", web / "sub" / "a.zvsa"},
      {"/myweb/Java/ZvTavelwork", web / "Java" / "ZvTavelwork"},
      {"/myweb", web},
      {"/myweb/caf%C3%A9%20clip.zvsa", web / "caf\xC3\xA9 clip.zvsa"},
      {"Player.class", web / "Player.class"},  // a bare name lies in the web's top folder
      {"/mywebsite/a", std::nullopt},
      {"/other/a", std::nullopt},
      {"/myweb/../escape", std::nullopt},
      {"/myweb/sub/%2E%2E/%2E%2E/escape", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(served.fileForWebPath(c.webPath), c.file) << c.webPath;
}

TEST_F(ServedWebTest, SymbolicLinkOutOfTheWebIsRefused) {
  fs::create_directory_symlink(folder.path(), web / "out");
  const ServedWeb served = open(options());
  const std::string webPart = served.webUrl().substr(served.webUrl().rfind('/'));
  EXPECT_EQ(served.fileForWebPath(webPart + "/out/x"), std::nullopt);
}

TEST_F(ServedWebTest, FileExistsMakeFolderAndAddFile) {
  const ServedWeb served = open(options());
  const std::string webPart = served.webUrl().substr(served.webUrl().rfind('/'));
  const std::string server = served.webUrl().substr(0, served.webUrl().rfind('/'));
  std::string why;

  EXPECT_TRUE(served.fileExists(served.pageUrl()));
  EXPECT_FALSE(served.fileExists(server + webPart + "/sub/none.zvsa"));

  EXPECT_TRUE(served.makeFolder(webPart + "/Java", why)) << why;
  EXPECT_TRUE(served.makeFolder(webPart + "/Java", why)) << "an existing folder is fine";
  EXPECT_TRUE(fs::is_directory(web / "Java"));
  EXPECT_FALSE(served.makeFolder("/elsewhere/Java", why));

  const fs::path clip = fs::path(folder.path()) / "new clip.zvsa";
  writeFile(clip, "new");
  EXPECT_TRUE(served.addFile(clip.string(), webPart + "/sub/a%20clip.zvsa", true, why)) << why;
  EXPECT_EQ(readFile(web / "sub" / "a clip.zvsa"), "new");
  EXPECT_TRUE(served.fileExists(server + webPart + "/sub/a%20clip.zvsa"));

  writeFile(clip, "newer");
  EXPECT_FALSE(served.addFile(clip.string(), webPart + "/sub/a%20clip.zvsa", false, why));
  EXPECT_EQ(readFile(web / "sub" / "a clip.zvsa"), "new") << "not replaced without the flag";
  EXPECT_TRUE(served.addFile(clip.string(), webPart + "/sub/a%20clip.zvsa", true, why));
  EXPECT_EQ(readFile(web / "sub" / "a clip.zvsa"), "newer");

  EXPECT_TRUE(served.addFile(clip.string(), webPart + "/deep/er/c.zvsa", true, why)) << "folders are made";
  EXPECT_FALSE(served.addFile((fs::path(folder.path()) / "missing").string(), webPart + "/m", true, why));
  EXPECT_FALSE(served.addFile(clip.string(), webPart + "/sub", true, why)) << "a folder is not replaced";
  EXPECT_FALSE(served.addFile(clip.string(), "/elsewhere/c.zvsa", true, why));
}

TEST_F(ServedWebTest, InsertionPoints) {
  struct Case {
    const char* name;
    std::optional<std::uint64_t> at;
    std::optional<std::string> marker;
    std::string expected;
  };
  const Case cases[] = {
      {"at", 6, std::nullopt, "<html>AB<body>\n<!-- here -->\n</body></html>\n"},
      {"start", 0, std::nullopt, std::string("AB") + kPage},
      {"marker", std::nullopt, "<!-- here -->", "<html><body>\nAB<!-- here -->\n</body></html>\n"},
      {"end", std::nullopt, std::nullopt, std::string(kPage) + "AB"},
  };
  for (const Case& c : cases) {
    writeFile(web / "sub" / "index.htm", kPage);
    ServeOptions o = options();
    o.at = c.at;
    o.marker = c.marker;
    ServedWeb served = open(o);
    std::string why;
    // Two insertions: the second follows the first, as typing does.
    ASSERT_TRUE(served.insertText("A", why)) << why;
    ASSERT_TRUE(served.insertText("B", why)) << why;
    EXPECT_EQ(readFile(web / "sub" / "index.htm"), c.expected) << c.name;
    for (const auto& entry : fs::directory_iterator(web / "sub"))
      EXPECT_EQ(entry.path().filename(), "index.htm") << "no partial file is left: " << c.name;
  }
}

TEST_F(ServedWebTest, UnservableOptionsAreRefusedWithTheReason) {
  struct Case {
    const char* name;
    ServeOptions options;
    const char* reason;
  };
  ServeOptions noFolder = options();
  noFolder.web = web / "none";
  ServeOptions noPage = options();
  noPage.page = "sub/none.htm";
  ServeOptions outside = options();
  outside.page = "../elsewhere.htm";
  writeFile(fs::path(folder.path()) / "elsewhere.htm", "x");
  ServeOptions beyond = options();
  beyond.at = 1000;
  ServeOptions noMarker = options();
  noMarker.marker = "<!-- nowhere -->";
  ServeOptions badUrl = options();
  badUrl.url = "noslash";
  const Case cases[] = {
      {"folder", noFolder, "is not a folder"},
      {"page", noPage, "is not a file"},
      {"outside", outside, "is not inside the web folder"},
      {"offset", beyond, "beyond the end of the page"},
      {"marker", noMarker, "is not in the page"},
      {"url", badUrl, "has no slash"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(ServedWeb::open(c.options, error)) << c.name;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.name << ": " << error;
  }
}

TEST(ServeOptionsTest, ParsesAndRefuses) {
  std::string error;
  const auto parsed =
      ParseServeOptions({"--web", "w", "--page", "p.htm", "--url", "http://h/w", "--at", "12", "-v"}, error);
  ASSERT_TRUE(parsed) << error;
  EXPECT_EQ(parsed->web, "w");
  EXPECT_EQ(parsed->page, "p.htm");
  EXPECT_EQ(parsed->url, "http://h/w");
  EXPECT_EQ(parsed->at, 12u);
  EXPECT_TRUE(parsed->verbose);

  const std::vector<std::vector<std::string>> bad = {
      {"--web", "w"},
      {"--page", "p"},
      {"--web", "w", "--page", "p", "--at", "12x"},
      {"--web", "w", "--page", "p", "--at", "-1"},
      {"--web", "w", "--page", "p", "--at", "1", "--marker", "m"},
      {"--web", "w", "--page", "p", "--marker", ""},
      {"--web", "w", "--page", "p", "--colour"},
      {"--web", "w", "--page"},
  };
  for (const auto& arguments : bad) {
    EXPECT_FALSE(ParseServeOptions(arguments, error)) << arguments.back();
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
}  // namespace zv::host

namespace zv::host {
namespace {

// The web paths the Explorer is given hold percent-encoded bytes: a NUL
// byte among them, or a link in the web that leads out of it, names no file
// of the web (the containment rule of platform/web_containment.h).
TEST_F(ServedWebTest, NulBytesAndLinksOutOfTheWebNameNoFile) {
  ServeOptions o = options();
  o.url = "http://S/myweb";
  fs::create_directories(fs::path(folder.path()) / "outside");
  fs::create_directory_symlink("../outside", web / "out");
  fs::create_directories(web / "sub");
  const ServedWeb served = open(o);
  EXPECT_EQ(served.fileForWebPath("/myweb/a%00.zvsa"), std::nullopt);
  EXPECT_EQ(served.fileForWebPath("/myweb/sub%00/../a"), std::nullopt);
  EXPECT_EQ(served.fileForWebPath("/myweb/out/a.zvsa"), std::nullopt);
  EXPECT_EQ(served.fileForWebPath("/myweb/sub/a.zvsa"), web / "sub" / "a.zvsa");
}

}  // namespace
}  // namespace zv::host
