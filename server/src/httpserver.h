#pragma once

#include <httplib.h>

#include <atomic>
#include <cstddef>
#include <string>

class WorkerPool;

// The HTTP library's server with the connection handling tuned for many short requests:
// no Nagle delay, long keep-alive that yields to waiting connections, bounded requests,
// a listen backlog fit for bursts, and a prompt end on stop().
class HttpServer : public httplib::Server {
 public:
  static constexpr size_t kMaxRequestBytes = 16 * 1024;  // request line and headers together
  static constexpr size_t kKeepAliveMaxRequests = 10000;
  static constexpr time_t kKeepAliveSeconds = 5;
  static constexpr time_t kIoTimeoutSeconds = 5;
  static constexpr int kListenBacklog = 1024;

  explicit HttpServer(size_t worker_threads);

  // Binds the address and starts listening; then listen_after_bind() serves until stop().
  bool bind(const std::string& host, int port);

 private:
  // Runs one connection: the library parses and answers each request, this loop owns the socket.
  bool process_and_close_socket(socket_t sock) override;
  bool stopping() const;

  std::atomic<WorkerPool*> pool_{nullptr};
};
