// The web that `webhost serve` offers: checking the options, mapping web
// paths and URLs to files (and refusing those outside the web), and the
// file operations behind the Explorer's and the Editor's calls: what they
// do, and that a write that fails leaves the web as it was and says why.
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
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

// Names in `folder` other than `keep`: what a failed save must not leave behind.
std::vector<std::string> strayEntries(const fs::path& folder, const std::vector<std::string>& keep) {
  std::vector<std::string> stray;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (std::find(keep.begin(), keep.end(), name) == keep.end()) stray.push_back(name);
  }
  return stray;
}

// How a write into the web is made to fail. Root writes into a folder
// whatever its mode says, so a read-only folder is tried as the unprivileged
// user "nobody", who owns the web for the purpose; a full disk is a limit on
// the size of the files the process may write.
enum class Obstacle { None, AsNobody, FullDisk };

struct ChildAnswer {
  bool ok = false;
  std::string why;
  std::string trouble;  // why the child could not run the action at all
};

// Runs `action` in a child process under `obstacle`, so that neither the
// user change nor the limit touches the test itself.
ChildAnswer runInChild(Obstacle obstacle, const std::function<bool(std::string&)>& action) {
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) return {false, {}, "no pipe"};
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipeEnds[0]);
    std::string answer;
    if (obstacle == Obstacle::AsNobody && ::geteuid() == 0) {
      const passwd* nobody = ::getpwnam("nobody");
      if (!nobody || ::setgroups(0, nullptr) != 0 || ::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0)
        answer = "!cannot become the user nobody";
    } else if (obstacle == Obstacle::FullDisk) {
      ::signal(SIGXFSZ, SIG_IGN);  // a write beyond the limit then fails with EFBIG
      const rlimit limit{16, 16};
      if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) answer = "!cannot limit the file size";
    }
    if (answer.empty()) {
      std::string why;
      answer = (action(why) ? "1" : "0") + why;
    }
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], answer.data(), answer.size());
    ::_exit(0);
  }
  ::close(pipeEnds[1]);
  std::string answer;
  char buffer[512];
  for (ssize_t got; (got = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) answer.append(buffer, got);
  ::close(pipeEnds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (child < 0 || !WIFEXITED(status) || answer.empty()) return {false, {}, "the child process did not answer"};
  if (answer[0] == '!') return {false, {}, answer.substr(1)};
  return {answer[0] == '1', answer.substr(1), {}};
}

// Gives the web to "nobody" (when the test runs as root) and lets anyone
// reach it, so that only the folder's own mode decides what may be written.
void handWebToNobody(const fs::path& top, const fs::path& web) {
  fs::permissions(top, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
  if (::geteuid() != 0) return;
  const passwd* nobody = ::getpwnam("nobody");
  ASSERT_NE(nobody, nullptr);
  ASSERT_EQ(::chown(web.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
  for (const auto& entry : fs::recursive_directory_iterator(web))
    ASSERT_EQ(::lchown(entry.path().c_str(), nobody->pw_uid, nobody->pw_gid), 0);
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

TEST_F(ServedWebTest, FileExistsMakeFolderAddAndRemoveFile) {
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

  EXPECT_TRUE(served.removeFile(webPart + "/sub/a%20clip.zvsa", why)) << why;
  EXPECT_FALSE(fs::exists(web / "sub" / "a clip.zvsa"));
  EXPECT_TRUE(served.removeFile(webPart + "/sub/a%20clip.zvsa", why)) << "a file that is not there is removed";
  EXPECT_FALSE(served.removeFile(webPart + "/sub", why)) << "a folder is not taken out";
  EXPECT_TRUE(fs::is_directory(web / "sub"));
  EXPECT_FALSE(served.removeFile("/elsewhere/c.zvsa", why));
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

TEST_F(ServedWebTest, PageThatCannotBeSavedStaysAsItWas) {
  struct Case {
    const char* name;
    fs::perms pageMode;
    fs::perms folderMode;
    Obstacle obstacle;
    const char* reason;
  };
  const fs::perms readWrite = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                              fs::perms::others_read;
  const fs::perms readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
  const fs::perms openFolder = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                               fs::perms::others_read | fs::perms::others_exec;
  const fs::perms readOnlyFolder = openFolder & ~fs::perms::owner_write;
  const Case cases[] = {
      // Nobody may write the page, root included: it is not replaced.
      {"read-only page", readOnly, openFolder, Obstacle::None, "is read-only"},
      {"read-only folder", readWrite, readOnlyFolder, Obstacle::AsNobody, "cannot create a file beside"},
      {"full disk", readWrite, openFolder, Obstacle::FullDisk, "File too large"},
  };
  handWebToNobody(folder.path(), web);
  for (const Case& c : cases) {
    ServeOptions o = options();
    o.marker = "<!-- here -->";
    ServedWeb served = open(o);
    fs::permissions(web / "sub" / "index.htm", c.pageMode);
    fs::permissions(web / "sub", c.folderMode);
    const ChildAnswer answer = runInChild(c.obstacle, [&](std::string& why) {
      return served.insertText("<p>a component long enough to need more than sixteen bytes</p>", why);
    });
    fs::permissions(web / "sub", openFolder);
    EXPECT_EQ(answer.trouble, "") << c.name;
    EXPECT_FALSE(answer.ok) << c.name << ": the save is reported as done";
    EXPECT_NE(answer.why.find(c.reason), std::string::npos) << c.name << ": " << answer.why;
    EXPECT_EQ(readFile(web / "sub" / "index.htm"), kPage) << c.name;
    EXPECT_EQ(fs::status(web / "sub" / "index.htm").permissions(), c.pageMode) << c.name;
    EXPECT_EQ(strayEntries(web / "sub", {"index.htm"}), std::vector<std::string>{}) << c.name;
    fs::permissions(web / "sub" / "index.htm", readWrite);
  }
}

TEST_F(ServedWebTest, FileThatCannotBeAddedLeavesTheWebAsItWas) {
  const ServedWeb served = open(options());
  const std::string webPart = served.webUrl().substr(served.webUrl().rfind('/'));
  const fs::path clip = fs::path(folder.path()) / "clip.zvsa";
  writeFile(clip, std::string(100, 'c'));
  writeFile(web / "sub" / "old.zvsa", "old");
  struct Case {
    const char* name;
    const char* webPath;
    Obstacle obstacle;
    bool readOnlyFolder;
    const char* reason;
  };
  const Case cases[] = {
      {"folder is a file", "/sub/index.htm/clip.zvsa", Obstacle::None, false, "cannot create a file beside"},
      {"read-only folder", "/sub/clip.zvsa", Obstacle::AsNobody, true, "cannot create a file beside"},
      {"full disk, replacing", "/sub/old.zvsa", Obstacle::FullDisk, false, "File too large"},
  };
  handWebToNobody(folder.path(), web);
  const fs::perms folderMode = fs::status(web / "sub").permissions();
  for (const Case& c : cases) {
    if (c.readOnlyFolder) fs::permissions(web / "sub", folderMode & ~fs::perms::owner_write);
    const ChildAnswer answer = runInChild(c.obstacle, [&](std::string& why) {
      return served.addFile(clip.string(), webPart + c.webPath, true, why);
    });
    fs::permissions(web / "sub", folderMode);
    EXPECT_EQ(answer.trouble, "") << c.name;
    EXPECT_FALSE(answer.ok) << c.name << ": the file is reported as added";
    EXPECT_NE(answer.why.find(c.reason), std::string::npos) << c.name << ": " << answer.why;
    EXPECT_EQ(readFile(web / "sub" / "index.htm"), kPage) << c.name;
    EXPECT_EQ(readFile(web / "sub" / "old.zvsa"), "old") << c.name << ": the file there is kept";
    EXPECT_EQ(strayEntries(web / "sub", {"index.htm", "old.zvsa"}), std::vector<std::string>{}) << c.name;
  }
}

TEST_F(ServedWebTest, PageChangedOnDiskUnderTheInsertionPoint) {
  // The page is read again for every insertion, so what changed on disk is
  // kept; the point stays where it was, or at the end of a page that has
  // become shorter than it.
  struct Case {
    const char* name;
    const char* before;  // inserted before the page changes
    const char* changed;
    const char* expected;
  };
  const Case cases[] = {
      {"grown after the point", "", "<html><body>\n<!-- here -->\n<p>new</p>\n</body></html>\n",
       "<html><body>\nX<!-- here -->\n<p>new</p>\n</body></html>\n"},
      {"shorter than the point", "", "<p>\n", "<p>\nX"},
      {"changed between insertions", "A", "<html><body>\nA\n<h1>T</h1>\n", "<html><body>\nAX\n<h1>T</h1>\n"},
      {"emptied", "A", "", "X"},
  };
  for (const Case& c : cases) {
    writeFile(web / "sub" / "index.htm", kPage);
    ServeOptions o = options();
    o.marker = "<!-- here -->";
    ServedWeb served = open(o);
    std::string why;
    if (*c.before) {
      ASSERT_TRUE(served.insertText(c.before, why)) << why;
    }
    writeFile(web / "sub" / "index.htm", c.changed);
    ASSERT_TRUE(served.insertText("X", why)) << c.name << ": " << why;
    EXPECT_EQ(readFile(web / "sub" / "index.htm"), c.expected) << c.name;
  }
}

TEST_F(ServedWebTest, SavedPageKeepsItsFileMode) {
  // Modes that a new file would not get under the usual masks.
  for (const fs::perms mode : {fs::perms::owner_read | fs::perms::owner_write,
                               fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read,
                               fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read}) {
    fs::permissions(web / "sub" / "index.htm", mode);
    ServedWeb served = open(options());
    std::string why;
    ASSERT_TRUE(served.insertText("A", why)) << why;
    EXPECT_EQ(fs::status(web / "sub" / "index.htm").permissions(), mode) << static_cast<int>(mode);
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
      parseServeOptions({"--web", "w", "--page", "p.htm", "--url", "http://h/w", "--at", "12", "-v"}, error);
  ASSERT_TRUE(parsed) << error;
  EXPECT_EQ(parsed->web, "w");
  EXPECT_EQ(parsed->page, "p.htm");
  EXPECT_EQ(parsed->url, "http://h/w");
  EXPECT_EQ(parsed->at, 12u);
  EXPECT_TRUE(parsed->verbose);

  // Each refusal says its own reason: the error text starts empty for every
  // case, so a refusal without a reason cannot borrow the previous one's.
  struct Refusal {
    std::vector<std::string> arguments;
    const char* reason;
  };
  const Refusal refusals[] = {
      {{"--web", "w"}, "needs --web DIR and --page PAGE"},
      {{"--page", "p"}, "needs --web DIR and --page PAGE"},
      {{"--web", "w", "--page", "p", "--at", "12x"}, "--at needs a byte offset, not \"12x\""},
      {{"--web", "w", "--page", "p", "--at", "-1"}, "--at needs a byte offset, not \"-1\""},
      {{"--web", "w", "--page", "p", "--at", "1", "--marker", "m"}, "either --at or --marker, not both"},
      {{"--web", "w", "--page", "p", "--marker", ""}, "--marker needs a text that is not empty"},
      {{"--web", "w", "--page", "p", "--colour"}, "unknown option --colour"},
      {{"--web", "w", "--page"}, "--page needs a value"},
  };
  for (const Refusal& refusal : refusals) {
    std::string reason;
    EXPECT_FALSE(parseServeOptions(refusal.arguments, reason)) << refusal.reason;
    EXPECT_NE(reason.find(refusal.reason), std::string::npos) << "expected \"" << refusal.reason << "\", got \""
                                                              << reason << "\"";
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
