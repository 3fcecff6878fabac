#pragma once

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "connectioncounts.h"
#include "httpconnection.h"

// The server's connections, event-driven: each I/O thread (one per core) runs its own share of the
// connections, none of them ever blocking a thread; work that waits for the store goes to the store's
// workers. The number of open connections is bounded, in all and for each address.
class HttpServer {
 public:
  struct Limits {
    size_t io_threads = 1;
    size_t max_connections = 1024;
    size_t max_per_address = 64;
    HttpLimits connection;
    std::chrono::milliseconds drain{9000};  // after stop(), for the replies under way
  };

  // Serves TLS with `tls` (which outlives the server), else plain HTTP.
  HttpServer(Limits limits, Routes& routes, WorkerPool& store_work, AccessLog* access_log,
             const TlsCertificate* tls = nullptr);
  ~HttpServer();

  // Binds the address and starts listening; then serve() answers until stop().
  bool bind(const std::string& host, int port);
  // Answers requests until stop(), then finishes the replies under way (for the drain time at most).
  // False when the listening socket failed.
  bool serve();
  // May be called from any thread.
  void stop();

  size_t max_connections() const { return counts_.max_total(); }

 private:
  struct IoThread {
    boost::asio::io_context context{1};
    ConnectionSet connections;
    boost::asio::steady_timer sweep{context};
  };

  void run(IoThread& thread);
  // Ends the steps of the thread's connections that are past their deadlines, a few times a second,
  // until the server has stopped and the thread has no connection left.
  void sweep(IoThread& thread);
  void accept();
  void on_accepted(IoThread& thread, boost::asio::ip::tcp::socket socket, std::string peer, bool admitted);
  void begin_stop();
  void watch_drain(std::chrono::steady_clock::time_point until);
  // Runs `action` on every connection of `thread`, from that thread.
  template <class Action>
  static void for_each_connection_of(IoThread& thread, Action action);
  // Runs `action` on every connection, each on its own thread.
  template <class Action>
  void for_each_connection(Action action);

  Limits limits_;
  std::vector<std::unique_ptr<IoThread>> threads_;
  ConnectionCounts counts_;
  ServerShared shared_;
  boost::asio::ip::tcp::acceptor acceptor_;
  boost::asio::steady_timer retry_accept_;
  boost::asio::steady_timer drain_timer_;
  std::vector<std::optional<boost::asio::executor_work_guard<boost::asio::io_context::executor_type>>> keep_running_;
  size_t next_thread_ = 0;
  std::atomic<bool> failed_{false};
};
