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

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>

#include <cstdio>
#include <optional>
#include <vector>
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
  // `runAs`: a user id the server drops to before it starts (root only).
  explicit PreviewProcess(const std::string& web, std::optional<uid_t> runAs = std::nullopt) {
    int out[2];
    if (pipe(out) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(out[1], STDOUT_FILENO);
      close(out[0]);
      if (runAs && (setgid(*runAs) != 0 || setuid(*runAs) != 0)) _exit(126);
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

int portOf(const std::string& url) { return std::stoi(url.substr(url.rfind(':') + 1)); }

// A connection to 127.0.0.1:port, or -1.
int connectTo(int port) {
  const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  if (connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(socket);
    return -1;
  }
  return socket;
}

// Reads until the server closes the connection; each wait is bounded (a
// hang guard, not a measurement).
std::string readToEnd(int socket) {
  std::string text;
  char block[65536];
  while (true) {
    pollfd readable{socket, POLLIN, 0};
    if (poll(&readable, 1, 20000) <= 0) return text + "<no answer>";
    const ssize_t got = read(socket, block, sizeof block);
    if (got <= 0) return text;
    text.append(block, static_cast<std::size_t>(got));
  }
}

// `request` sent as it is (clients tidy paths up; this does not), the whole
// answer read.
std::string talk(int port, const std::string& request) {
  const int socket = connectTo(port);
  if (socket < 0) return "<no connection>";
  if (write(socket, request.data(), request.size()) != static_cast<ssize_t>(request.size())) return "<not sent>";
  std::string answer = readToEnd(socket);
  close(socket);
  return answer;
}

std::string get(int port, const std::string& target, const std::string& fields = "") {
  return talk(port, "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) +
                            "\r\n" + fields + "Connection: close\r\n\r\n");
}

int statusOf(const std::string& answer) {
  return answer.rfind("HTTP/1.1 ", 0) == 0 ? std::atoi(answer.c_str() + 9) : -1;
}

std::string bodyOf(const std::string& answer) {
  const std::size_t end = answer.find("\r\n\r\n");
  return end == std::string::npos ? std::string() : answer.substr(end + 4);
}

// A page on another site that rebinds its own name to 127.0.0.1 sends that
// name as Host: such requests read nothing of the web.
TEST_F(WebhostPreview, OnlyItsOwnLoopbackNamesAreAnswered) {
  PreviewProcess preview(web_.path());
  const int port = portOf(preview.url());
  const std::string p = std::to_string(port);
  const struct {
    std::string host;  // empty: no Host field
    const char* version;
    int status;
  } cases[] = {
      {"127.0.0.1:" + p, "HTTP/1.1", 200},
      {"localhost:" + p, "HTTP/1.1", 200},
      {"LocalHost:" + p, "HTTP/1.1", 200},
      {"[::1]:" + p, "HTTP/1.1", 200},
      {"attacker.example:" + p, "HTTP/1.1", 421},
      {"attacker.example", "HTTP/1.1", 421},
      {"127.0.0.1", "HTTP/1.1", 421},
      {"127.0.0.1:" + std::to_string(port == 65535 ? 1 : port + 1), "HTTP/1.1", 421},
      {"localhost.attacker.example:" + p, "HTTP/1.1", 421},
      {"127.0.0.1:" + p + ".attacker.example", "HTTP/1.1", 421},
      {"", "HTTP/1.1", 400},
      {"", "HTTP/1.0", 200},  // before Host existed: no other name to answer for
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.host + " " + c.version);
    const std::string answer = talk(port, std::string("GET /clip.zvsa ") + c.version + "\r\n" +
                                                  (c.host.empty() ? "" : "Host: " + c.host + "\r\n") +
                                                  "Connection: close\r\n\r\n");
    EXPECT_EQ(statusOf(answer), c.status) << answer;
    EXPECT_EQ(answer.find("0123456789abcdef") != std::string::npos, c.status == 200) << answer;
  }
  // Two Host fields are one too many.
  EXPECT_EQ(statusOf(talk(port, "GET / HTTP/1.1\r\nHost: 127.0.0.1:" + p + "\r\nHost: evil:" + p +
                                        "\r\nConnection: close\r\n\r\n")),
            400);
  EXPECT_EQ(preview.stop(), 0);
}

// Connections that send half a request and wait, or nothing at all (a
// browser's idle keep-alive connections), shut no visitor out: a visitor is
// answered while every one of them is still open, and each is still served
// when it completes its request.
TEST_F(WebhostPreview, IdleConnectionsShutNoVisitorOut) {
  PreviewProcess preview(web_.path());
  const int port = portOf(preview.url());
  const std::string half = "GET /clip.zvsa HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) + "\r\n";
  std::vector<int> idle;
  for (int i = 0; i < 100; ++i) {
    const int socket = connectTo(port);
    ASSERT_GE(socket, 0);
    if (i % 2 == 0) {
      ASSERT_EQ(write(socket, half.data(), half.size()), static_cast<ssize_t>(half.size()));
    }
    idle.push_back(socket);
  }
  for (int visitor = 0; visitor < 20; ++visitor) {
    const std::string answer = get(port, "/clip.zvsa");
    ASSERT_EQ(statusOf(answer), 200) << answer;
    EXPECT_EQ(bodyOf(answer), "0123456789abcdef");
  }
  // Every idle connection is still open: the server neither closed it nor
  // answered it to make room.
  for (const int socket : idle) {
    pollfd state{socket, POLLIN, 0};
    EXPECT_EQ(poll(&state, 1, 0), 0) << "an idle connection was closed or answered";
  }
  // Completed now, the half requests are answered.
  for (std::size_t i = 0; i < idle.size(); i += 2) {
    ASSERT_EQ(write(idle[i], "Connection: close\r\n\r\n", 21), 21);
    const std::string answer = readToEnd(idle[i]);
    EXPECT_EQ(statusOf(answer), 200) << answer;
  }
  for (const int socket : idle) close(socket);
  EXPECT_EQ(preview.stop(), 0);
}

// RFC 9110 14.2: the satisfiable ranges of a request are served, the others
// left out; 416 only when none is satisfiable; a Range field that does not
// parse is ignored.
TEST_F(WebhostPreview, MixedRangeRequestsServeWhatCanBeServed) {
  PreviewProcess preview(web_.path());
  const int port = portOf(preview.url());
  const struct {
    const char* range;
    int status;
    const char* contentRange;  // single part
    const char* body;          // single part, or nullptr for a multipart answer
  } cases[] = {
      {"bytes=0-1,100-200", 206, "bytes 0-1/16", "01"},
      {"bytes=100-200,-3", 206, "bytes 13-15/16", "def"},
      {"bytes=16-,4-5,99-", 206, "bytes 4-5/16", "45"},
      {"bytes=16-20,30-", 416, "bytes */16", ""},
      {"bytes=-0", 416, "bytes */16", ""},
      {"bytes=5-2", 200, "", "0123456789abcdef"},  // invalid: ignored
      {"lines=1-2", 200, "", "0123456789abcdef"},
      {"bytes=0-1,14-", 206, nullptr, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.range);
    const std::string answer = get(port, "/clip.zvsa", std::string("Range: ") + c.range + "\r\n");
    EXPECT_EQ(statusOf(answer), c.status) << answer;
    if (c.contentRange && *c.contentRange) {
      EXPECT_NE(answer.find(std::string("\r\nContent-Range: ") + c.contentRange + "\r\n"), std::string::npos)
          << answer;
    }
    if (c.body) {
      EXPECT_EQ(bodyOf(answer), c.body);
    } else {
      EXPECT_NE(answer.find("Content-Type: multipart/byteranges; boundary="), std::string::npos) << answer;
      EXPECT_NE(answer.find("Content-Range: bytes 0-1/16\r\n\r\n01\r\n--"), std::string::npos) << answer;
      EXPECT_NE(answer.find("Content-Range: bytes 14-15/16\r\n\r\nef\r\n--"), std::string::npos) << answer;
    }
  }
  // Whoever sends If-Range gets the whole file: this server gives no validators.
  EXPECT_EQ(statusOf(get(port, "/clip.zvsa", "Range: bytes=0-1\r\nIf-Range: \"x\"\r\n")), 200);
  EXPECT_EQ(preview.stop(), 0);
}

// Traversal over a real connection, with the paths a client would tidy up
// sent as they are: nothing outside the web, and no dotfile, is answered.
TEST_F(WebhostPreview, NothingOutsideTheWebNorADotfileIsServed) {
  zv::test::TempDir outside;
  writeFile(fs::path(outside.path()) / "secret.txt", "secret");
  fs::create_symlink(fs::path(outside.path()) / "secret.txt", fs::path(web_.path()) / "leak.txt");
  fs::create_directory_symlink(outside.path(), fs::path(web_.path()) / "out");
  writeFile(fs::path(web_.path()) / ".git" / "config", "secret");
  const std::string up = fs::path(outside.path()).filename().string();
  PreviewProcess preview(web_.path());
  const int port = portOf(preview.url());
  for (const std::string& target :
       {"/../" + up + "/secret.txt", "/%2e%2e/" + up + "/secret.txt", "/%2E%2E%2F" + up + "%2Fsecret.txt",
        "/sub/..%2f..%2f" + up + "/secret.txt", std::string("/leak.txt"), std::string("/out/secret.txt"),
        std::string("/clip.zvsa%00.txt"), std::string("/.git/config"), std::string("/%2Egit/config"),
        std::string("//etc/passwd"), std::string("/..")}) {
    SCOPED_TRACE(target);
    const std::string answer = get(port, target);
    const int status = statusOf(answer);
    EXPECT_TRUE(status == 403 || status == 404) << answer;
    EXPECT_EQ(answer.find("secret"), std::string::npos) << answer;
    EXPECT_EQ(answer.find("root:"), std::string::npos) << answer;
  }
  // Not a path at all.
  EXPECT_EQ(statusOf(talk(port, "GET http://attacker.example/ HTTP/1.1\r\nHost: 127.0.0.1:" +
                                        std::to_string(port) + "\r\nConnection: close\r\n\r\n")),
            400);
  EXPECT_EQ(preview.stop(), 0);
}

// Names with spaces and non-ASCII bytes, as a browser sends them.
TEST_F(WebhostPreview, NamesWithSpacesAndNonAsciiOverHttp) {
  writeFile(fs::path(web_.path()) / "caf\xC3\xA9 sounds" / "my clip #1 50%.zvsa", "clip bytes");
  PreviewProcess preview(web_.path());
  const int port = portOf(preview.url());
  const std::string file = get(port, "/caf%C3%A9%20sounds/my%20clip%20%231%2050%25.zvsa");
  EXPECT_EQ(statusOf(file), 200) << file;
  EXPECT_EQ(bodyOf(file), "clip bytes");
  const std::string listing = get(port, "/caf%C3%A9%20sounds/");
  EXPECT_NE(listing.find("href=\"my%20clip%20%231%2050%25.zvsa\""), std::string::npos) << listing;
  EXPECT_EQ(statusOf(get(port, "/caf%C3%A9%20sounds")), 301);
  EXPECT_EQ(preview.stop(), 0);
}

// A file that is there but cannot be read answers 500, and holds nothing up:
// a FIFO (which would block a reader for ever), and a file without read
// permission (as root, the server is run as user "nobody" for it, since root
// reads every file whatever its mode).
TEST_F(WebhostPreview, AFileThatCannotBeReadIs500) {
  const fs::path web = web_.path();
  ASSERT_EQ(mkfifo((web / "pipe.zvsa").c_str(), 0644), 0);
  writeFile(web / "locked.zvsa", "locked");
  fs::permissions(web / "locked.zvsa", fs::perms::none);
  std::optional<uid_t> runAs;
  if (geteuid() == 0) {
    runAs = 65534;  // nobody
    for (fs::path p = web; p != p.root_path(); p = p.parent_path()) {
      fs::permissions(p, fs::perms::others_read | fs::perms::others_exec, fs::perm_options::add);
    }
    for (const char* name : {"index.htm", "clip.zvsa"})
      fs::permissions(web / name, fs::perms::others_read, fs::perm_options::add);
  }
  PreviewProcess preview(web.string(), runAs);
  const int port = portOf(preview.url());
  for (const char* target : {"/pipe.zvsa", "/locked.zvsa"}) {
    SCOPED_TRACE(target);
    const std::string answer = get(port, target);
    EXPECT_EQ(statusOf(answer), 500) << answer;
  }
  EXPECT_EQ(statusOf(get(port, "/clip.zvsa")), 200);  // the server goes on
  EXPECT_EQ(preview.stop(), 0);
}

// A large file is sent from the file, never read whole: the last bytes of a
// sparse file of 5 GiB, and its size.
TEST_F(WebhostPreview, ALargeFileIsSentFromTheFile) {
  const fs::path big = fs::path(web_.path()) / "big.zvsa";
  const std::uint64_t size = 5ull << 30;
  {
    std::ofstream(big, std::ios::binary) << "";
  }
  fs::resize_file(big, size);
  PreviewProcess preview(web_.path());
  const int port = portOf(preview.url());
  const std::string tail = get(port, "/big.zvsa", "Range: bytes=-10\r\n");
  EXPECT_EQ(statusOf(tail), 206) << tail.substr(0, 300);
  EXPECT_NE(tail.find("\r\nContent-Range: bytes 5368709110-5368709119/5368709120\r\n"), std::string::npos)
      << tail.substr(0, 300);
  EXPECT_EQ(bodyOf(tail), std::string(10, '\0'));
  const std::string head = talk(port, "HEAD /big.zvsa HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) +
                                              "\r\nConnection: close\r\n\r\n");
  EXPECT_NE(head.find("\r\nContent-Length: 5368709120\r\n"), std::string::npos) << head;
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
