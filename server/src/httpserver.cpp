#include "httpserver.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <chrono>

#include "connectionstream.h"
#include "workerpool.h"

namespace {

constexpr char kTooLarge[] =
    "HTTP/1.1 431 Request Header Fields Too Large\r\n"
    "Content-Type: text/plain\r\n"
    "Content-Length: 18\r\n"
    "Connection: close\r\n"
    "\r\n"
    "Request too large\n";

}  // namespace

HttpServer::HttpServer(size_t worker_threads)
{
  new_task_queue = [this, worker_threads] {
    auto* pool = new WorkerPool(worker_threads);
    pool_ = pool;
    return pool;
  };
  set_tcp_nodelay(true);
  // A restart binds again at once over connections still closing (SO_REUSEADDR), and a second
  // server cannot share the port unnoticed (no SO_REUSEPORT, unlike the library's default).
  set_socket_options([](socket_t sock) {
    const int yes = 1;
    ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  });
  set_keep_alive_max_count(kKeepAliveMaxRequests);
  set_keep_alive_timeout(kKeepAliveSeconds);
  set_read_timeout(kIoTimeoutSeconds);
  set_write_timeout(kIoTimeoutSeconds);
  // Nothing here takes a request body.
  set_payload_max_length(0);
}

bool HttpServer::bind(const std::string& host, int port)
{
  if (!bind_to_port(host, port)) return false;
  // The library listens with a backlog of 5, which drops connections that arrive in a burst.
  return ::listen(svr_sock_, kListenBacklog) == 0;
}

bool HttpServer::stopping() const
{
  return svr_sock_ == INVALID_SOCKET;
}

bool HttpServer::process_and_close_socket(socket_t sock)
{
  const int on = 1;
  ::setsockopt(sock, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  ConnectionStream stream(sock,
                          {kMaxRequestBytes, std::chrono::seconds(read_timeout_sec_), std::chrono::seconds(write_timeout_sec_)},
                          [this] { return stopping(); });
  WorkerPool* pool = pool_;
  const std::function<bool()> others_waiting = [pool] { return pool && pool->waiting() > 0; };
  const std::function<bool()> keep_waiting;
  const std::function<void(httplib::Request&)> no_setup;

  for (size_t served = 0; served < keep_alive_max_count_; ++served) {
    // A fresh connection gets its turn; an idle kept-alive one hands its thread to those queued.
    const bool ready = served == 0 ? stream.wait_for_request(std::chrono::seconds(read_timeout_sec_), keep_waiting)
                                   : stream.wait_for_request(std::chrono::seconds(keep_alive_timeout_sec_), others_waiting);
    if (!ready) break;
    const bool last = served + 1 == keep_alive_max_count_ || stopping() || others_waiting();
    bool closed = false;
    stream.begin_request();
    const bool answered = process_request(stream, last, closed, no_setup);
    if (stream.over_budget()) {
      if (!stream.wrote_since_request_began()) stream.write(kTooLarge, sizeof kTooLarge - 1);
      break;
    }
    if (!answered || closed || last) break;
  }
  stream.close();
  return true;
}
