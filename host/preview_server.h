// The HTTP/1.1 server of `webhost preview`: answers GET and HEAD on
// 127.0.0.1 with what a handler (PreviewSite::get) gives for each path.
//
//   - Connections that wait, with half a request or between requests
//     (a browser's idle keep-alive connections), cost no worker: one thread
//     watches them all with poll() and hands a connection to a worker only
//     when a whole request head has come. Visitors are answered whatever
//     idle connections are open; when the process runs short of file
//     descriptors, the connection that has waited longest is closed to make
//     room. A connection that sends nothing for kIdleSeconds is closed.
//   - Host must name this server (isPreviewHost): another name is a page of
//     another site that rebound its name to 127.0.0.1, and gets 421.
//   - Range (GET only) by RFC 9110: the satisfiable ranges of a request are
//     served (one as a single part, several as multipart/byteranges), 416
//     only when none is; If-Range, which this server cannot satisfy (it
//     sends no validators), makes it answer the whole file.
//   - File bodies are sent from the open file, block by block.
#ifndef ZV_HOST_PREVIEW_SERVER_H
#define ZV_HOST_PREVIEW_SERVER_H

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "host/preview_site.h"

namespace zv::host {

class PreviewServer {
 public:
  using Handler = std::function<PreviewReply(std::string_view path)>;

  inline static constexpr int kIdleSeconds = 60;
  inline static constexpr int kSendTimeoutSeconds = 30;
  inline static constexpr int kWorkers = 8;

  // `log`, when not null, gets one line per request ("webhost: GET /x 200").
  PreviewServer(Handler handler, std::ostream* log);
  ~PreviewServer();
  PreviewServer(const PreviewServer&) = delete;
  PreviewServer& operator=(const PreviewServer&) = delete;

  // Listens on 127.0.0.1:port (0: any free port). The port, or -1 with
  // errno set.
  int listen(int port);

  // Serves until stop(); false (errno set) when it cannot go on.
  bool run();

  // Ends run() soon; safe from any thread.
  void stop();

  struct Connection;

 private:
  void loop();
  void work();
  void serve(Connection& connection);
  void handBack(std::unique_ptr<Connection> connection);
  void wake();

  Handler handler_;
  std::ostream* log_;
  std::mutex log_mutex_;
  int listener_ = -1;
  int port_ = 0;
  int wake_pipe_[2] = {-1, -1};
  std::atomic<bool> stopping_{false};

  std::mutex queue_mutex_;
  std::condition_variable queue_ready_;
  std::deque<std::unique_ptr<Connection>> ready_;     // whole heads, for the workers
  std::vector<std::unique_ptr<Connection>> returned_;  // kept alive, back to the watcher
  std::vector<std::thread> workers_;
};

}  // namespace zv::host

#endif  // ZV_HOST_PREVIEW_SERVER_H
