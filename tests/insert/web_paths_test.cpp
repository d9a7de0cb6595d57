// The text rules of the insertion pass: splitting the web URL, the page
// path and clip web path, the class folder and codebase, the folders made
// for a nested class folder, the preview image, and percent-encoding.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "automation/web_url.h"
#include "insert/message_text.h"
#include "insert/web_paths.h"

namespace zv::insert {
namespace {

using automation::WebUrlParts;

struct SplitCase {
  const char* name;
  const char* url;
  bool hasSlash;
  const char* server;
  const char* web;
};

class SplitWebUrlTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitWebUrlTest, SplitsAtTheLastSlash) {
  const SplitCase& c = GetParam();
  const std::optional<WebUrlParts> parts = automation::splitWebUrl(c.url);
  ASSERT_EQ(parts.has_value(), c.hasSlash);
  if (!parts) return;
  EXPECT_EQ(parts->server, c.server);
  EXPECT_EQ(parts->web, c.web);
}

INSTANTIATE_TEST_SUITE_P(
    Urls, SplitWebUrlTest,
    testing::Values(
        SplitCase{"HttpRootWeb", "http://www.example.org", true, "http://www.example.org", ""},
        SplitCase{"HttpSubWeb", "http://www.example.org/myweb", true, "http://www.example.org", "/myweb"},
        SplitCase{"HttpUpperCaseScheme", "HTTP://host/myweb", true, "HTTP://host", "/myweb"},
        SplitCase{"FileWeb", "file:///home/ann/site", true, "file:///home/ann", "/site"},
        SplitCase{"FileWebAtTheTop", "file:///site", true, "file://", "/site"},
        SplitCase{"FileLetterCase", "FILE:///home/ann/site", true, "FILE:///home/ann", "/site"},
        SplitCase{"FileWithoutPath", "file:/", true, "file:/", ""},
        SplitCase{"OtherSchemeNeverSplit", "https://host/myweb", true, "https://host/myweb", ""},
        SplitCase{"FtpNeverSplit", "ftp://host/a/b", true, "ftp://host/a/b", ""},
        SplitCase{"OnlySlashIsFirst", "/myweb", true, "/myweb", ""},
        SplitCase{"NoSlash", "myweb", false, "", ""}),
    [](const testing::TestParamInfo<SplitCase>& info) { return std::string(info.param.name); });

TEST(DiskBasedWebTest, FileSchemeInAnyCase) {
  EXPECT_TRUE(automation::isDiskBasedWeb("file:///home/ann/site"));
  EXPECT_TRUE(automation::isDiskBasedWeb("FiLe:///x"));
  EXPECT_FALSE(automation::isDiskBasedWeb("http://host/file:"));
}

struct PageCase {
  const char* name;
  const char* webUrl;
  const char* pageUrl;
  const char* clipName;
  bool inWeb;
  const char* pagePath;
  const char* clipWebPath;
};

class PagePathTest : public testing::TestWithParam<PageCase> {};

TEST_P(PagePathTest, PagePathAndClipWebPath) {
  const PageCase& c = GetParam();
  const WebUrlParts web = *automation::splitWebUrl(c.webUrl);
  EXPECT_EQ(pageIsInWeb(c.pageUrl, web), c.inWeb);
  if (!c.inWeb) return;
  const std::optional<std::string> pageFolder = pagePath(c.pageUrl, web.server.size());
  ASSERT_TRUE(pageFolder);
  EXPECT_EQ(*pageFolder, c.pagePath);
  EXPECT_EQ(clipWebPath(*pageFolder, c.clipName), c.clipWebPath);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, PagePathTest,
    testing::Values(
        PageCase{"SubWebPageInFolder", "http://S/myweb", "http://S/myweb/sub/index.htm", "hello.zvsa", true,
                 "/myweb/sub", "/myweb/sub/hello.zvsa"},
        PageCase{"RootWebTopPage", "http://S", "http://S/index.htm", "hello.zvsa", true, "",
                 "/hello.zvsa"},
        PageCase{"DiskWeb", "file:///home/ann/site", "file:///home/ann/site/a/b.htm", "c.zvsa", true,
                 "/site/a", "/site/a/c.zvsa"},
        PageCase{"ServerCaseIgnored", "http://Host/w", "http://host/w/i.htm", "c.zvsa", true, "/w",
                 "/w/c.zvsa"},
        PageCase{"SpacesAndAccentsEncoded", "file:///home/ann/my%20site", "file:///home/ann/my%20site/p.htm",
                 "caf\xC3\xA9 clip.zvsa", true, "/my%20site", "/my%20site/caf%C3%A9%20clip.zvsa"},
        PageCase{"OtherServer", "http://S/myweb", "http://T/myweb/index.htm", "c.zvsa", false, "", ""},
        PageCase{"OtherWebOnSameServer", "http://S/myweb", "http://S/other/index.htm", "c.zvsa", false, "", ""},
        PageCase{"WebNamePrefixOnly", "http://S/myweb", "http://S/mywebsite/index.htm", "c.zvsa", false, "",
                 ""}),
    [](const testing::TestParamInfo<PageCase>& info) { return std::string(info.param.name); });

TEST(PagePathTest, UrlWithoutSlashPastTheServerHasNoPagePath) {
  EXPECT_FALSE(pagePath("index.htm", 0));
  EXPECT_FALSE(pagePath("http://S/x", 20));
}

struct PlacementCase {
  const char* name;
  const char* codebase;
  bool disk;
  const char* webPart;
  const char* pagePath;
  const char* classFolder;
  const char* codebaseValue;
  bool usesCodebase;
};

class ClassPlacementTest : public testing::TestWithParam<PlacementCase> {};

TEST_P(ClassPlacementTest, ClassFolderAndCodebaseValue) {
  const PlacementCase& c = GetParam();
  const ClassPlacement placement = chooseClassPlacement(c.codebase, c.disk, c.webPart, c.pagePath);
  EXPECT_EQ(placement.classFolder, c.classFolder);
  EXPECT_EQ(placement.codebaseValue, c.codebaseValue);
  EXPECT_EQ(placement.usesCodebase, c.usesCodebase);
}

INSTANTIATE_TEST_SUITE_P(
    Placements, ClassPlacementTest,
    testing::Values(
        PlacementCase{"CodebaseInSubWeb", "/Java/ZvTavelwork", false, "/myweb", "/myweb/sub",
                      "/myweb/Java/ZvTavelwork", "/myweb/Java/ZvTavelwork", true},
        PlacementCase{"CodebaseInRootWeb", "/Java/ZvTavelwork", false, "", "", "/Java/ZvTavelwork",
                      "/Java/ZvTavelwork", true},
        PlacementCase{"EmptyCodebase", "", false, "/myweb", "/myweb/sub", "/myweb/sub", "", false},
        PlacementCase{"DiskBasedIgnoresCodebase", "/Java/ZvTavelwork", true, "/site", "/site/a", "/site/a", "",
                      false},
        PlacementCase{"EmptyEverything", "", false, "", "", "", "", false}),
    [](const testing::TestParamInfo<PlacementCase>& info) { return std::string(info.param.name); });

struct FolderCase {
  const char* name;
  const char* classFolder;
  const char* webPart;
  std::vector<std::string> folders;
};

class FolderCreationTest : public testing::TestWithParam<FolderCase> {};

TEST_P(FolderCreationTest, OneLevelAtATime) {
  const FolderCase& c = GetParam();
  EXPECT_EQ(folderCreationSequence(c.classFolder, c.webPart), c.folders);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, FolderCreationTest,
    testing::Values(
        FolderCase{"SubWebTwoLevels", "/myweb/Java/ZvTavelwork", "/myweb",
                   {"/myweb/Java", "/myweb/Java/ZvTavelwork"}},
        FolderCase{"RootWebThreeLevels", "/a/b/c", "", {"/a", "/a/b", "/a/b/c"}},
        FolderCase{"OneLevel", "/myweb/Java", "/myweb", {"/myweb/Java"}},
        FolderCase{"TrailingSlash", "/w/Java/", "/w", {"/w/Java", "/w/Java/"}}),
    [](const testing::TestParamInfo<FolderCase>& info) { return std::string(info.param.name); });

TEST(WebPathInFolderTest, BareNameInAnEmptyFolder) {
  EXPECT_EQ(webPathInFolder("", "Player.class"), "Player.class");
  EXPECT_EQ(webPathInFolder("/w/Java", "Player.class"), "/w/Java/Player.class");
  EXPECT_EQ(webPathInFolder("/w", "a b.class"), "/w/a%20b.class");
}

struct PreviewCase {
  int buttons;
  const char* url;
};

TEST(PreviewImageTest, ImageByButtonCount) {
  const PreviewCase cases[] = {
      {1, "file:///opt/zv/lib/FPOneButton.gif"},   {2, "file:///opt/zv/lib/FPTwoButton.gif"},
      {3, "file:///opt/zv/lib/FPThreeButton.gif"}, {0, "file:///opt/zv/lib/FPOneButton.gif"},
      {4, "file:///opt/zv/lib/FPOneButton.gif"},   {-1, "file:///opt/zv/lib/FPOneButton.gif"},
  };
  for (const PreviewCase& c : cases) EXPECT_EQ(previewImageUrl("/opt/zv/lib/", c.buttons), c.url) << c.buttons;
}

TEST(PreviewImageTest, ProgramFolderIsPercentEncoded) {
  EXPECT_EQ(previewImageUrl("/opt/Z&V \xC3\x9C/lib/", 2), "file:///opt/Z%26V%20%C3%9C/lib/FPTwoButton.gif");
}

TEST(PercentEncodingTest, RoundTripsEveryByte) {
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  const std::string encoded = automation::percentEncodePath(all);
  EXPECT_EQ(encoded.find(' '), std::string::npos);
  EXPECT_EQ(encoded.find('#'), std::string::npos);
  EXPECT_EQ(automation::percentDecode(encoded), all);
  EXPECT_EQ(automation::percentEncodePath("100%"), "100%25");
  EXPECT_EQ(automation::percentDecode("a%2"), "a%2");
  EXPECT_EQ(automation::percentDecode("%zz%41%c3%a9"), "%zzA\xC3\xA9");
}

TEST(TemporaryFolderTest, PrefixComparedIgnoringCase) {
  EXPECT_TRUE(isInTemporaryFolder("/tmp/ZVSAabc", "/tmp/"));
  EXPECT_TRUE(isInTemporaryFolder("/TMP/ZVSAabc", "/tmp/"));
  EXPECT_FALSE(isInTemporaryFolder("/tmpx/ZVSAabc", "/tmp/"));
  EXPECT_FALSE(isInTemporaryFolder("/usr/share/gallery/a.zvsa", "/tmp/"));
  EXPECT_FALSE(isInTemporaryFolder("/tmp/a", ""));
}

TEST(FillPlaceholdersTest, ValuesInOrderNeverReadAsFormats) {
  EXPECT_EQ(fillPlaceholders("a %s b %s c %d%%", {"1", "%s", "3"}), "a 1 b %s c 3%");
  EXPECT_EQ(fillPlaceholders("only %s and %s", {"one"}), "only one and %s");
}

}  // namespace
}  // namespace zv::insert
