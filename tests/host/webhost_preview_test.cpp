// `webhost preview` as a program: it prints the URL to open, answers over
// HTTP with media types, HEAD and byte ranges, refuses bad arguments and a
// taken port, and stops cleanly on SIGTERM.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

void writeFile(const fs::path& path, const std::string& content) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << content;
}

// webhost preview running as a child, with its first line of output (the
// URL) read. Stopped with SIGTERM by stop() or the destructor.
class PreviewProcess {
 public:
  explicit PreviewProcess(const std::string& web) {
    int out[2];
    if (pipe(out) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(out[1], STDOUT_FILENO);
      close(out[0]);
      execl(ZV_WEBHOST_PROGRAM, ZV_WEBHOST_PROGRAM, "preview", web.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    close(out[1]);
    // The first line, read byte by byte so nothing after it is taken.
    char c;
    while (read(out[0], &c, 1) == 1 && c != '\n') url_ += c;
    close(out[0]);
  }
  ~PreviewProcess() { stop(); }

  const std::string& url() const { return url_; }

  // SIGTERM; the exit status, or -1 when it did not exit normally.
  int stop() {
    if (pid_ <= 0) return status_;
    kill(pid_, SIGTERM);
    int raw = 0;
    waitpid(pid_, &raw, 0);
    pid_ = 0;
    status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return status_;
  }

 private:
  pid_t pid_ = 0;
  int status_ = -1;
  std::string url_;
};

class WebhostPreview : public testing::Test {
 protected:
  WebhostPreview() {
    writeFile(fs::path(web_.path()) / "index.htm",
              "<p><!--WEBBOT bot=\"ZvTavelwork\" StartSpan I-NUMBUTTONS=\"1\" I-AUTOPLAY=\"1\" "
              "I-VISIBLE=\"0\" I-COUNT=\"-1\" I-HEIGHT=\"20\" I-WIDTH=\"20\" S-CLASS=\"ZvStreamPlayer.class\" "
              "S-CODEBASE=\"\" S-APPLETTAG=\"OBJECT\" S-ALIGN=\"\" S-BODY=\"\" S-ATTRIBS=\"\" "
              "S-CLIP=\"clip.zvsa\" -->\r\n<!--WEBBOT bot=\"ZvTavelwork\" EndSpan --><p>\r\n");
    writeFile(fs::path(web_.path()) / "clip.zvsa", "0123456789abcdef");
  }
  zv::test::TempDir web_;
};

TEST_F(WebhostPreview, ServesPagesFilesAndThePlayerOverHttp) {
  PreviewProcess preview(web_.path());
  ASSERT_EQ(preview.url().rfind("http://127.0.0.1:", 0), 0u) << preview.url();
  ASSERT_EQ(preview.url().back(), '/');
  httplib::Client client(preview.url().substr(0, preview.url().size() - 1));

  const auto page = client.Get("/");
  ASSERT_TRUE(page);
  EXPECT_EQ(page->status, 200);
  EXPECT_EQ(page->get_header_value("Content-Type"), "text/html");
  EXPECT_NE(page->body.find("CLASSID=\"java:ZvStreamPlayer.class\""), std::string::npos) << page->body;
  EXPECT_NE(page->body.find("<script src=\"ZvStreamPlayer.js\" defer></script>"), std::string::npos);

  // The player's files of the build tree stand in for the web's.
  const auto decoder = client.Head("/QV160MXW.wasm");
  ASSERT_TRUE(decoder);
  EXPECT_EQ(decoder->status, 200);
  EXPECT_EQ(decoder->get_header_value("Content-Type"), "application/wasm");
  EXPECT_GT(std::stoul(decoder->get_header_value("Content-Length")), 1000u);
  EXPECT_TRUE(decoder->body.empty());
  const auto script = client.Get("/ZvStreamPlayer.js");
  ASSERT_TRUE(script);
  EXPECT_EQ(script->get_header_value("Content-Type"), "text/javascript");
  EXPECT_NE(script->body.find("ZvStreamPlayer.class"), std::string::npos);

  struct RangeCase {
    const char* range;
    int status;
    const char* contentRange;
    const char* body;
  };
  const RangeCase ranges[] = {
      {"bytes=2-5", 206, "bytes 2-5/16", "2345"},
      {"bytes=12-", 206, "bytes 12-15/16", "cdef"},
      {"bytes=-3", 206, "bytes 13-15/16", "def"},
      {"bytes=14-99", 206, "bytes 14-15/16", "ef"},
      {"bytes=16-20", 416, "bytes */16", ""},
  };
  for (const RangeCase& r : ranges) {
    SCOPED_TRACE(r.range);
    const auto part = client.Get("/clip.zvsa", {{"Range", r.range}});
    ASSERT_TRUE(part);
    EXPECT_EQ(part->status, r.status);
    EXPECT_EQ(part->get_header_value("Content-Range"), r.contentRange);
    EXPECT_EQ(part->body, r.body);
  }
  const auto whole = client.Get("/clip.zvsa");
  ASSERT_TRUE(whole);
  EXPECT_EQ(whole->body, "0123456789abcdef");
  EXPECT_EQ(whole->get_header_value("Accept-Ranges"), "bytes");

  const auto missing = client.Get("/nothing.htm", {{"Range", "bytes=0-3"}});
  ASSERT_TRUE(missing);
  EXPECT_EQ(missing->status, 404);

  EXPECT_EQ(preview.stop(), 0);
}

TEST(WebhostPreviewUsage, BadArgumentsAndATakenPort) {
  zv::test::TempDir web;
  struct Case {
    std::vector<std::string> arguments;
    int status;
    const char* message;
  };
  const Case cases[] = {
      {{"preview"}, 2, "preview needs a web folder"},
      {{"preview", web.path(), "--port", "70000"}, 2, "from 1 to 65535"},
      {{"preview", web.path(), "--port"}, 2, "--port needs a number"},
      {{"preview", web.path(), "--colour"}, 2, "unknown option --colour"},
      {{"preview", web.path() + "/none"}, 2, "not a folder"},
  };
  for (const Case& c : cases) {
    const zv::test::ProgramRun run = zv::test::runProgram(ZV_WEBHOST_PROGRAM, c.arguments, 20);
    EXPECT_EQ(run.exitStatus, c.status) << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  }

  // A port that another socket holds.
  const int holder = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(bind(holder, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(listen(holder, 1), 0);
  socklen_t length = sizeof address;
  getsockname(holder, reinterpret_cast<sockaddr*>(&address), &length);
  const std::string port = std::to_string(ntohs(address.sin_port));
  const zv::test::ProgramRun taken =
      zv::test::runProgram(ZV_WEBHOST_PROGRAM, {"preview", web.path(), "--port", port}, 20);
  close(holder);
  EXPECT_EQ(taken.exitStatus, 1) << taken.err;
  EXPECT_NE(taken.err.find("cannot listen on 127.0.0.1:" + port), std::string::npos) << taken.err;

  const zv::test::ProgramRun help = zv::test::runProgram(ZV_WEBHOST_PROGRAM, {"preview", "--help"}, 20);
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_NE(help.out.find("webhost preview WEB [--port N]"), std::string::npos) << help.out;
}

}  // namespace
