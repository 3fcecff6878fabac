#include "httpserver.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string_view>

#include "connectionstream.h"
#include "requesthead.h"

// Why this class calls the library's protected Server::process_request:
// the library's public way to serve is listen_after_bind(), which accepts each connection itself
// and gives it a thread that reads the request head with a time-out for each read only. Its public
// interface has no way to hand it a connection whose head has already been gathered, none to set a
// deadline for a whole head, and none to learn the socket of an accepted connection (socket options
// reach only the listening socket; a task queue gets an opaque job). So a client sending one byte
// every few seconds, or nothing, holds one of its threads for hours, and a few such clients stop the
// server. Gathering heads without blocking therefore needs connections of our own, and the only
// entry that parses and routes a request read from our own stream is process_request, protected
// (meant for subclasses) but not documented and changed in later versions. The library also takes
// its protected svr_sock_ as the sign that the server runs: while it holds no socket, a response from
// a content provider (the files served in chunks) is cut off as if the server were stopping; so it
// holds our listening socket while we serve. Both are checked here, and everything else goes through
// the public interface (routes, error and exception handlers, logger, keep-alive and body limits).
static_assert(std::string_view(CPPHTTPLIB_VERSION).starts_with("0.11."),
              "velnor-server feeds request heads to cpp-httplib's protected Server::process_request, whose "
              "signature and behaviour were checked for 0.11.x only: check HttpServer::answer against this "
              "version (the call, and that setup_request runs after the Range header is parsed) and that "
              "svr_sock_ still tells content providers whether the server runs, then widen this check");

namespace {

constexpr std::chrono::milliseconds kSweep(100);
constexpr int kMaxEvents = 256;
constexpr int kListenBacklog = 1024;
constexpr rlim_t kReservedFiles = 64;  // for the database, the files served and the log

std::string canned_reply(std::string_view status, std::string_view body, std::string_view extra_header = {}) {
  return "HTTP/1.1 " + std::string(status) +
         "\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" +
         std::string(extra_header) + "Connection: close\r\n\r\n" + std::string(body);
}

const HttpServer::Refusal kBusy{
    503, canned_reply("503 Service Unavailable", "Server busy; try again shortly.\n", "Retry-After: 1\r\n")};
const HttpServer::Refusal kTooLarge{431, canned_reply("431 Request Header Fields Too Large", "Request too large\n")};
const HttpServer::Refusal kTooSlow{408, canned_reply("408 Request Timeout", "Request took too long\n")};
const HttpServer::Refusal kBodyRefused{413, canned_reply("413 Payload Too Large", "No request here takes a body\n")};

// Ranges are not offered: the library would answer overlapping or out-of-file ranges with more bytes
// than the file or a wrong length, and the game never asks for one. Each file goes whole, with status
// 200, as for a request without a range.
void ignore_ranges(httplib::Request& request) { request.ranges.clear(); }

}  // namespace

HttpServer::HttpServer(Limits limits) : limits_(limits) {
  // What the library says in its Keep-Alive header; the connections themselves are run here.
  set_keep_alive_max_count(limits_.keep_alive_max_requests);
  set_keep_alive_timeout(std::chrono::duration_cast<std::chrono::seconds>(limits_.keep_alive).count());
  // Nothing here takes a request body.
  set_payload_max_length(0);
  epoll_ = ::epoll_create1(EPOLL_CLOEXEC);
  wake_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
}

HttpServer::~HttpServer() {
  for (const int fd : {listener_, epoll_, wake_})
    if (fd >= 0) ::close(fd);
}

bool HttpServer::bind(const std::string& host, int port) {
  // Each connection is a file: take what the system allows, and stay within it.
  rlimit files{};
  if (::getrlimit(RLIMIT_NOFILE, &files) == 0) {
    if (files.rlim_cur < files.rlim_max) {
      files.rlim_cur = files.rlim_max;
      ::setrlimit(RLIMIT_NOFILE, &files);
      ::getrlimit(RLIMIT_NOFILE, &files);
    }
    if (files.rlim_cur != RLIM_INFINITY && files.rlim_cur > kReservedFiles)
      limits_.max_connections = std::min<size_t>(limits_.max_connections, files.rlim_cur - kReservedFiles);
  }

  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE | AI_NUMERICHOST;
  addrinfo* found = nullptr;
  if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) {
    errno = EINVAL;
    return false;
  }
  int saved_errno = 0;
  for (const addrinfo* entry = found; entry && listener_ < 0; entry = entry->ai_next) {
    const int fd = ::socket(entry->ai_family, entry->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, entry->ai_protocol);
    if (fd < 0) continue;
    // A restart binds again at once over connections still closing (SO_REUSEADDR), and a second
    // server cannot share the port unnoticed (no SO_REUSEPORT).
    const int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    if (::bind(fd, entry->ai_addr, entry->ai_addrlen) == 0 && ::listen(fd, kListenBacklog) == 0) {
      listener_ = fd;
    } else {
      saved_errno = errno;
      ::close(fd);
    }
  }
  ::freeaddrinfo(found);
  if (listener_ < 0) errno = saved_errno;
  return listener_ >= 0;
}

void HttpServer::stop() {
  stopping_ = true;
  svr_sock_ = INVALID_SOCKET;
  if (wake_ >= 0) {
    const uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write(wake_, &one, sizeof one);
  }
}

bool HttpServer::serve() {
  pool_ = std::make_unique<WorkerPool>(limits_.worker_threads);
  bool healthy = epoll_ >= 0 && wake_ >= 0 && listener_ >= 0;
  for (const int fd : {listener_, wake_}) {
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.fd = fd;
    if (healthy && ::epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &event) != 0) healthy = false;
  }

  if (healthy && !stopping_) svr_sock_ = listener_;

  auto next_sweep = Clock::now() + kSweep;
  epoll_event events[kMaxEvents];
  while (healthy && !stopping_) {
    // With no connection waiting for bytes there is no deadline to watch, and the thread sleeps.
    const int count =
        ::epoll_wait(epoll_, events, kMaxEvents, waiting_.empty() ? -1 : static_cast<int>(kSweep.count()));
    if (count < 0 && errno != EINTR) healthy = false;
    for (int i = 0; i < count; ++i) {
      const int fd = events[i].data.fd;
      if (fd == listener_) {
        if (events[i].events & (EPOLLERR | EPOLLHUP))
          healthy = false;
        else
          accept_all();
      } else if (fd == wake_) {
        uint64_t ignored;
        [[maybe_unused]] const auto got = ::read(wake_, &ignored, sizeof ignored);
        take_back_given();
      } else {
        on_readable(fd);
      }
    }
    const auto now = Clock::now();
    if (now >= next_sweep) {
      end_overdue(now);
      next_sweep = now + kSweep;
    }
  }

  stopping_ = true;
  svr_sock_ = INVALID_SOCKET;
  ::close(listener_);
  listener_ = -1;
  waiting_.clear();
  // The workers answer what has fully arrived, then end.
  pool_->shutdown();
  {
    std::lock_guard lock(given_mutex_);
    given_.clear();
  }
  return healthy;
}

void HttpServer::accept_all() {
  for (;;) {
    const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      return;  // none left, or no file to spare: the next round tries again
    }
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    auto connection = std::make_shared<ConnectionStream>(fd, open_, limits_.max_head_bytes, limits_.write_timeout,
                                                         [this] { return stopping_.load(); });
    if (open_ > limits_.max_connections) {
      refuse(*connection, kBusy);
      continue;
    }
    admit(std::move(connection));
  }
}

// Hands a connection on as far as its bytes allow: to a worker with a whole head, back to waiting
// with part of one, or out with a refusal.
void HttpServer::admit(std::shared_ptr<ConnectionStream> connection) {
  switch (connection->receive()) {
    case ConnectionStream::Head::kComplete:
      dispatch(std::move(connection));
      break;
    case ConnectionStream::Head::kPartial: {
      const auto limit = connection->request_started() ? limits_.head_deadline : limits_.keep_alive;
      watch(std::move(connection), Clock::now() + limit);
      break;
    }
    case ConnectionStream::Head::kTooLarge:
      refuse(*connection, kTooLarge);
      break;
    case ConnectionStream::Head::kClosed:
      break;
  }
}

void HttpServer::watch(std::shared_ptr<ConnectionStream> connection, Clock::time_point deadline) {
  const int fd = connection->fd();
  epoll_event event{};
  event.events = EPOLLIN | EPOLLRDHUP;
  event.data.fd = fd;
  if (::epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &event) != 0) return;
  const bool started = connection->request_started();
  waiting_[fd] = Waiting{std::move(connection), deadline, started};
}

std::shared_ptr<ConnectionStream> HttpServer::forget(int fd) {
  const auto found = waiting_.find(fd);
  if (found == waiting_.end()) return nullptr;
  ::epoll_ctl(epoll_, EPOLL_CTL_DEL, fd, nullptr);
  auto connection = std::move(found->second.connection);
  waiting_.erase(found);
  return connection;
}

void HttpServer::on_readable(int fd) {
  const auto found = waiting_.find(fd);
  if (found == waiting_.end()) return;
  Waiting& waiting = found->second;
  switch (waiting.connection->receive()) {
    case ConnectionStream::Head::kComplete:
      dispatch(forget(fd));
      break;
    case ConnectionStream::Head::kPartial:
      // The head's deadline runs from its first byte.
      if (!waiting.request_started && waiting.connection->request_started()) {
        waiting.request_started = true;
        waiting.deadline = Clock::now() + limits_.head_deadline;
      }
      break;
    case ConnectionStream::Head::kTooLarge:
      refuse(*forget(fd), kTooLarge);
      break;
    case ConnectionStream::Head::kClosed:
      forget(fd);
      break;
  }
}

void HttpServer::end_overdue(Clock::time_point now) {
  std::vector<int> overdue;
  for (const auto& [fd, waiting] : waiting_)
    if (waiting.deadline <= now) overdue.push_back(fd);
  for (const int fd : overdue) {
    auto connection = forget(fd);
    // An idle connection just ends; one that began a request is told why.
    if (connection->request_started()) refuse(*connection, kTooSlow);
  }
}

void HttpServer::refuse(ConnectionStream& connection, const Refusal& refusal) {
  if (refused_) {
    std::string client;
    int port = 0;
    connection.get_remote_ip_and_port(client, port);
    refused_(client, refusal.status);
  }
  connection.refuse(refusal.reply);
}

void HttpServer::dispatch(std::shared_ptr<ConnectionStream> connection) {
  pool_->enqueue([this, connection = std::move(connection)]() mutable { answer(std::move(connection)); });
}

void HttpServer::give_back(std::shared_ptr<ConnectionStream> connection, Clock::time_point deadline) {
  {
    std::lock_guard lock(given_mutex_);
    if (stopping_) return;
    given_.emplace_back(std::move(connection), deadline);
  }
  const uint64_t one = 1;
  [[maybe_unused]] const auto written = ::write(wake_, &one, sizeof one);
}

void HttpServer::take_back_given() {
  decltype(given_) given;
  {
    std::lock_guard lock(given_mutex_);
    given.swap(given_);
  }
  for (auto& [connection, deadline] : given) watch(std::move(connection), deadline);
}

// Runs on a worker: answers the head at the front, then the requests that follow on the same
// connection while they come promptly and no other connection waits for a worker.
void HttpServer::answer(std::shared_ptr<ConnectionStream> connection) {
  const std::function<bool()> others_waiting = [this] { return pool_->waiting() > 0; };
  try {
    for (size_t served = 1;; ++served) {
      if (announces_body(connection->head())) {
        refuse(*connection, kBodyRefused);
        return;
      }
      const bool last = served >= limits_.keep_alive_max_requests || stopping_;
      bool closed = false;
      connection->begin_request();
      const bool answered = process_request(*connection, last, closed, ignore_ranges);
      connection->end_request();
      if (!answered || closed || last) {
        connection->close();
        return;
      }

      auto state = connection->head_state();
      if (state == ConnectionStream::Head::kPartial && !connection->request_started()) {
        const auto idle_until = Clock::now() + limits_.keep_alive;
        if (!connection->wait_for_input(limits_.keep_alive, others_waiting)) {
          if (stopping_ || Clock::now() >= idle_until) {
            connection->close();
          } else {
            give_back(std::move(connection), idle_until);
          }
          return;
        }
        state = connection->receive();
      }
      switch (state) {
        case ConnectionStream::Head::kComplete:
          continue;
        case ConnectionStream::Head::kPartial:
          give_back(std::move(connection), Clock::now() + limits_.head_deadline);
          return;
        case ConnectionStream::Head::kTooLarge:
          refuse(*connection, kTooLarge);
          return;
        case ConnectionStream::Head::kClosed:
          return;
      }
    }
  } catch (const std::exception&) {
    // The connection ends with its object; the server goes on.
  }
}
