#pragma once

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "workerpool.h"

class ConnectionStream;

// The server's connections: one thread gathers request heads from every client without blocking,
// and a pool of workers answers each complete head through the HTTP library's routing. A client
// that sends slowly or nothing never holds a worker; each head has a deadline; the number of open
// connections is bounded, and a client beyond the bound is told to come back.
class HttpServer : private httplib::Server {
 public:
  struct Limits {
    size_t worker_threads = 16;
    size_t max_connections = 1024;
    size_t max_head_bytes = 16 * 1024;  // request line and headers together
    size_t keep_alive_max_requests = 10000;
    std::chrono::milliseconds keep_alive{5000};     // for the first byte of the next request
    std::chrono::milliseconds head_deadline{5000};  // from a request's first byte to its last
    std::chrono::milliseconds write_timeout{5000};  // for each stall of a slow reader
  };

  // A reply of the server's own that ends a connection before the library has seen its request.
  struct Refusal {
    int status;
    std::string reply;
  };

  explicit HttpServer(Limits limits);
  ~HttpServer();

  // Where the routes, the error handlers and the logger are set.
  httplib::Server& handlers() { return *this; }

  // Told of each refusal (the peer's address and the status), for the log; set before serve().
  void on_refusal(std::function<void(const std::string& client, int status)> refused) { refused_ = std::move(refused); }

  // Binds the address and starts listening; then serve() answers until stop().
  bool bind(const std::string& host, int port);
  // Answers requests until stop(); the requests that have fully arrived by then are still answered.
  // False when the listening socket failed.
  bool serve();
  // May be called from any thread.
  void stop();

  size_t max_connections() const { return limits_.max_connections; }

 private:
  using Clock = std::chrono::steady_clock;
  struct Waiting {
    std::shared_ptr<ConnectionStream> connection;
    Clock::time_point deadline;
    bool request_started;
  };

  void refuse(ConnectionStream& connection, const Refusal& refusal);
  void accept_all();
  void admit(std::shared_ptr<ConnectionStream> connection);
  void dispatch(std::shared_ptr<ConnectionStream> connection);
  void answer(std::shared_ptr<ConnectionStream> connection);
  void give_back(std::shared_ptr<ConnectionStream> connection, Clock::time_point deadline);
  void take_back_given();
  void watch(std::shared_ptr<ConnectionStream> connection, Clock::time_point deadline);
  void on_readable(int fd);
  void end_overdue(Clock::time_point now);
  std::shared_ptr<ConnectionStream> forget(int fd);

  Limits limits_;
  std::function<void(const std::string&, int)> refused_;
  int listener_ = -1;
  int epoll_ = -1;
  int wake_ = -1;  // eventfd: a stop, or connections given back by the workers
  std::atomic<bool> stopping_{false};
  std::atomic<size_t> open_{0};
  std::unique_ptr<WorkerPool> pool_;
  std::unordered_map<int, Waiting> waiting_;  // connections waiting for a request's bytes, by socket

  std::mutex given_mutex_;
  std::vector<std::pair<std::shared_ptr<ConnectionStream>, Clock::time_point>> given_;
};
