#include "host/preview_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>

#include "host/http_request.h"

namespace zv::host {

using Clock = std::chrono::steady_clock;

struct PreviewServer::Connection {
  int socket = -1;
  std::string received;  // bytes read and not yet answered
  Clock::time_point since = Clock::now();
  ~Connection() {
    if (socket >= 0) ::close(socket);
  }
};

namespace {

constexpr std::size_t kReadBlockBytes = 16384;
constexpr std::size_t kSendBlockBytes = 65536;

const char* reasonOf(int status) {
  switch (status) {
    case 200: return "OK";
    case 206: return "Partial Content";
    case 301: return "Moved Permanently";
    case 400: return "Bad Request";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 416: return "Range Not Satisfiable";
    case 421: return "Misdirected Request";
    case 431: return "Request Header Fields Too Large";
    default: return "Internal Server Error";
  }
}

// Sends all of `bytes`, waiting for room at most kSendTimeoutSeconds each
// time. False when the peer went away or stopped reading.
bool sendAll(int socket, const char* bytes, std::size_t length) {
  while (length > 0) {
    const ssize_t sent = ::send(socket, bytes, length, MSG_NOSIGNAL);
    if (sent > 0) {
      bytes += sent;
      length -= static_cast<std::size_t>(sent);
      continue;
    }
    if (sent < 0 && errno == EINTR) continue;
    if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      pollfd room{socket, POLLOUT, 0};
      if (::poll(&room, 1, PreviewServer::kSendTimeoutSeconds * 1000) <= 0) return false;
      continue;
    }
    return false;
  }
  return true;
}

bool sendText(int socket, std::string_view text) { return sendAll(socket, text.data(), text.size()); }

// Bytes first..last of the reply's body or file.
bool sendPart(int socket, const PreviewReply& reply, std::uint64_t first, std::uint64_t last) {
  if (!reply.file.isOpen()) {
    return sendAll(socket, reply.body.data() + first, static_cast<std::size_t>(last - first + 1));
  }
  std::vector<char> block(kSendBlockBytes);
  std::uint64_t at = first;
  while (at <= last) {
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(block.size(), last - at + 1));
    const ssize_t got = ::pread(reply.file.descriptor(), block.data(), want, static_cast<off_t>(at));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;  // the file shrank or failed: the length sent cannot be kept
    if (!sendAll(socket, block.data(), static_cast<std::size_t>(got))) return false;
    at += static_cast<std::uint64_t>(got);
  }
  return true;
}

std::string contentRange(const ByteRange& range, std::uint64_t size) {
  return "bytes " + std::to_string(range.first) + "-" + std::to_string(range.last) + "/" +
         std::to_string(size);
}

PreviewReply plainReply(int status, std::string text) {
  PreviewReply reply;
  reply.status = status;
  reply.contentType = "text/plain; charset=utf-8";
  reply.body = std::move(text) + "\n";
  return reply;
}

// The most connections watched at once: what the process may open, less a
// margin for the workers' files and the listener.
std::size_t mostConnections() {
  rlimit limit{};
  if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return 4096;
  const auto open = static_cast<std::size_t>(limit.rlim_cur);
  return open > 64 + PreviewServer::kWorkers * 2 ? open - 64 - PreviewServer::kWorkers * 2 : 8;
}

}  // namespace

PreviewServer::PreviewServer(Handler handler, std::ostream* log) : handler_(std::move(handler)), log_(log) {}

PreviewServer::~PreviewServer() {
  stop();
  for (std::thread& worker : workers_)
    if (worker.joinable()) worker.join();
  if (listener_ >= 0) ::close(listener_);
  for (int end : wake_pipe_)
    if (end >= 0) ::close(end);
}

int PreviewServer::listen(int port) {
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (listener_ < 0) return -1;
  const int yes = 1;
  ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener_, SOMAXCONN) != 0)
    return -1;
  socklen_t length = sizeof address;
  if (::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) return -1;
  if (::pipe2(wake_pipe_, O_CLOEXEC | O_NONBLOCK) != 0) return -1;
  port_ = ntohs(address.sin_port);
  return port_;
}

void PreviewServer::stop() {
  stopping_ = true;
  queue_ready_.notify_all();
  wake();
}

void PreviewServer::wake() {
  if (wake_pipe_[1] >= 0) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(wake_pipe_[1], &byte, 1);
  }
}

bool PreviewServer::run() {
  if (listener_ < 0) {
    errno = EBADF;
    return false;
  }
  for (int i = 0; i < kWorkers; ++i) workers_.emplace_back([this] { work(); });
  loop();
  const int error = errno;
  const bool stopped = stopping_;
  stopping_ = true;
  queue_ready_.notify_all();
  for (std::thread& worker : workers_) worker.join();
  workers_.clear();
  errno = error;
  return stopped;
}

void PreviewServer::handBack(std::unique_ptr<Connection> connection) {
  {
    std::lock_guard lock(queue_mutex_);
    returned_.push_back(std::move(connection));
  }
  wake();
}

void PreviewServer::loop() {
  std::vector<std::unique_ptr<Connection>> waiting;  // for (the rest of) a request head
  const std::size_t most = mostConnections();
  std::vector<pollfd> watched;
  std::vector<char> block(kReadBlockBytes);

  // Makes room by closing the connection that has waited longest.
  auto closeOldest = [&waiting] {
    if (waiting.empty()) return false;
    auto oldest = std::min_element(waiting.begin(), waiting.end(),
                                   [](const auto& a, const auto& b) { return a->since < b->since; });
    waiting.erase(oldest);
    return true;
  };

  while (!stopping_) {
    watched.clear();
    watched.push_back({listener_, POLLIN, 0});
    watched.push_back({wake_pipe_[0], POLLIN, 0});
    for (const auto& c : waiting) watched.push_back({c->socket, POLLIN, 0});
    const int ready = ::poll(watched.data(), watched.size(), 1000);
    if (ready < 0 && errno != EINTR) return;
    if (stopping_) return;

    // Readiness of the connections first: the list changes below.
    std::vector<std::unique_ptr<Connection>> still;
    std::vector<std::unique_ptr<Connection>> complete;
    const Clock::time_point now = Clock::now();
    for (std::size_t i = 0; i < waiting.size(); ++i) {
      std::unique_ptr<Connection>& c = waiting[i];
      const short events = watched[i + 2].revents;
      if (events & POLLIN) {
        const ssize_t got = ::recv(c->socket, block.data(), block.size(), 0);
        if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR)) continue;  // closed
        if (got > 0) {
          c->received.append(block.data(), static_cast<std::size_t>(got));
          c->since = now;
          HttpRequest request;
          std::size_t headBytes = 0;
          if (parseRequestHead(c->received, request, headBytes) != HeadState::Incomplete) {
            complete.push_back(std::move(c));
            continue;
          }
        }
      } else if (events & (POLLERR | POLLHUP | POLLNVAL)) {
        continue;
      } else if (now - c->since > std::chrono::seconds(kIdleSeconds)) {
        continue;
      }
      still.push_back(std::move(c));
    }
    waiting = std::move(still);
    if (!complete.empty()) {
      std::lock_guard lock(queue_mutex_);
      for (auto& c : complete) ready_.push_back(std::move(c));
      queue_ready_.notify_all();
    }

    if (watched[1].revents & POLLIN) {
      char drain[64];
      while (::read(wake_pipe_[0], drain, sizeof drain) > 0) {
      }
      std::lock_guard lock(queue_mutex_);
      for (auto& c : returned_) {
        c->since = now;
        waiting.push_back(std::move(c));
      }
      returned_.clear();
    }

    if (watched[0].revents & POLLIN) {
      while (true) {
        if (waiting.size() >= most) closeOldest();
        const int socket = ::accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (socket < 0) {
          if (errno == EINTR) continue;
          if ((errno == EMFILE || errno == ENFILE) && closeOldest()) continue;
          break;  // EAGAIN: all taken; anything else: try again on the next round
        }
        auto c = std::make_unique<Connection>();
        c->socket = socket;
        waiting.push_back(std::move(c));
      }
    }
  }
}

void PreviewServer::work() {
  while (true) {
    std::unique_ptr<Connection> connection;
    {
      std::unique_lock lock(queue_mutex_);
      queue_ready_.wait(lock, [this] { return stopping_ || !ready_.empty(); });
      if (stopping_) return;
      connection = std::move(ready_.front());
      ready_.pop_front();
    }
    serve(*connection);
    if (connection->socket >= 0) handBack(std::move(connection));
  }
}

// Answers every whole request the connection holds; closes it (socket -1)
// when it is not to be kept.
void PreviewServer::serve(Connection& connection) {
  while (true) {
    HttpRequest request;
    std::size_t headBytes = 0;
    const HeadState state = parseRequestHead(connection.received, request, headBytes);
    if (state == HeadState::Incomplete) return;  // back to the watcher for more

    PreviewReply reply;
    bool keep = false;
    bool head = false;
    std::vector<ByteRange> ranges;
    RangeAnswer ranged = RangeAnswer::Whole;
    int hosts = 0;
    const std::optional<std::string_view> host =
        state == HeadState::Complete ? request.header("Host", &hosts) : std::nullopt;
    std::optional<std::string> path;
    if (state == HeadState::TooLarge) {
      reply = plainReply(431, "The request head is too large.");
    } else if (state == HeadState::Malformed) {
      reply = plainReply(400, "This is not an HTTP/1.x request.");
    } else if (hosts > 1 || (hosts == 0 && request.minorVersion >= 1)) {
      reply = plainReply(400, "The request needs one Host field.");
    } else if (host && !isPreviewHost(*host, port_)) {
      reply = plainReply(421, "This server answers for 127.0.0.1:" + std::to_string(port_) +
                                  ", localhost:" + std::to_string(port_) + " and [::1]:" +
                                  std::to_string(port_) + " only.");
    } else if (request.method != "GET" && request.method != "HEAD") {
      reply = plainReply(405, "Only GET and HEAD are answered.");
    } else if (!(path = requestPath(request.target))) {
      reply = plainReply(400, "The request target is not a path.");
    } else {
      head = request.method == "HEAD";
      keep = request.keepsAlive() && !request.hasBody();
      reply = handler_(*path);
      const std::optional<std::string_view> range = request.header("Range");
      if (reply.status == 200 && !head && range && !request.header("If-Range"))
        ranged = resolveRanges(*range, reply.size(), ranges);
    }

    const std::uint64_t size = reply.size();
    std::string boundary;
    std::vector<std::string> partHeads;
    int status = reply.status;
    std::uint64_t length = size;
    std::string fields = "Cache-Control: no-store\r\nAccept-Ranges: bytes\r\n";
    if (!reply.location.empty()) fields += "Location: " + reply.location + "\r\n";
    if (ranged == RangeAnswer::Unsatisfiable) {
      status = 416;
      length = 0;
      fields += "Content-Range: bytes */" + std::to_string(size) + "\r\n";
    } else if (ranged == RangeAnswer::Partial && ranges.size() == 1) {
      status = 206;
      length = ranges[0].last - ranges[0].first + 1;
      fields += "Content-Type: " + reply.contentType + "\r\nContent-Range: " + contentRange(ranges[0], size) + "\r\n";
    } else if (ranged == RangeAnswer::Partial) {
      status = 206;
      boundary = "zv-byteranges-" + std::to_string(reinterpret_cast<std::uintptr_t>(&connection)) + "-" +
                 std::to_string(size);
      length = 0;
      for (const ByteRange& r : ranges) {
        partHeads.push_back("\r\n--" + boundary + "\r\nContent-Type: " + reply.contentType +
                            "\r\nContent-Range: " + contentRange(r, size) + "\r\n\r\n");
        length += partHeads.back().size() + (r.last - r.first + 1);
      }
      length += boundary.size() + 8;  // "\r\n--" boundary "--\r\n"
      fields += "Content-Type: multipart/byteranges; boundary=" + boundary + "\r\n";
    } else if (!reply.contentType.empty()) {
      fields += "Content-Type: " + reply.contentType + "\r\n";
    }
    fields += "Content-Length: " + std::to_string(length) + "\r\n";
    if (!keep) {
      fields += "Connection: close\r\n";
    } else if (request.minorVersion == 0) {
      fields += "Connection: keep-alive\r\n";  // an HTTP/1.0 client keeps it only when told
    }

    if (log_) {
      std::lock_guard lock(log_mutex_);
      *log_ << "webhost: " << (request.method.empty() ? "?" : request.method) << ' '
            << (path ? *path : request.target) << ' ' << status << std::endl;
    }
    bool sent = sendText(connection.socket, "HTTP/1.1 " + std::to_string(status) + " " + reasonOf(status) +
                                                "\r\n" + fields + "\r\n");
    if (sent && !head && status != 416) {
      if (!boundary.empty()) {
        for (std::size_t i = 0; sent && i < ranges.size(); ++i)
          sent = sendText(connection.socket, partHeads[i]) &&
                 sendPart(connection.socket, reply, ranges[i].first, ranges[i].last);
        sent = sent && sendText(connection.socket, "\r\n--" + boundary + "--\r\n");
      } else if (status == 206) {
        sent = sendPart(connection.socket, reply, ranges[0].first, ranges[0].last);
      } else if (size > 0) {
        sent = sendPart(connection.socket, reply, 0, size - 1);
      }
    }
    if (!sent || !keep || stopping_) {
      ::close(connection.socket);
      connection.socket = -1;
      return;
    }
    connection.received.erase(0, headBytes);
  }
}

}  // namespace zv::host
