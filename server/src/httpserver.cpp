#include "httpserver.h"

#include <sys/resource.h>

#include <boost/asio/post.hpp>
#include <iostream>
#include <thread>

namespace asio = boost::asio;
using asio::ip::tcp;

namespace {

constexpr int kListenBacklog = 4096;
constexpr rlim_t kReservedFiles = 64;  // for the database, the files served and the log
constexpr std::chrono::milliseconds kAcceptPause{50};
constexpr std::chrono::milliseconds kDrainCheck{20};
constexpr std::chrono::milliseconds kSweepEvery{100};

// Each connection is a file: takes what the system allows, and returns how many connections fit.
size_t raise_file_limit(size_t wanted) {
  rlimit files{};
  if (::getrlimit(RLIMIT_NOFILE, &files) != 0) return wanted;
  if (files.rlim_cur < files.rlim_max) {
    files.rlim_cur = files.rlim_max;
    ::setrlimit(RLIMIT_NOFILE, &files);
    ::getrlimit(RLIMIT_NOFILE, &files);
  }
  if (files.rlim_cur != RLIM_INFINITY && files.rlim_cur > kReservedFiles)
    return std::min<size_t>(wanted, files.rlim_cur - kReservedFiles);
  return wanted;
}

// The address a peer is known by: an IPv4 client of an IPv6 socket as plain IPv4, as it is logged and
// as --trust-proxy names it.
std::string peer_address(const tcp::socket& socket) {
  boost::system::error_code error;
  auto address = socket.remote_endpoint(error).address();
  if (error) return "-";
  if (address.is_v6() && address.to_v6().is_v4_mapped())
    address = asio::ip::make_address_v4(asio::ip::v4_mapped, address.to_v6());
  return address.to_string();
}

}  // namespace

template <class Action>
void HttpServer::for_each_connection_of(IoThread& thread, Action action) {
  // Copied first: an action may end a connection, which leaves the set.
  const std::vector<HttpConnection*> connections(thread.connections.begin(), thread.connections.end());
  for (HttpConnection* connection : connections)
    if (thread.connections.count(connection)) action(*connection);
}

template <class Action>
void HttpServer::for_each_connection(Action action) {
  for (auto& thread : threads_)
    asio::post(thread->context, [&thread = *thread, action] { for_each_connection_of(thread, action); });
}

HttpServer::HttpServer(Limits limits, Routes& routes, WorkerPool& store_work, AccessLog* access_log,
                       const TlsCertificate* tls)
    : limits_(limits),
      threads_([&] {
        std::vector<std::unique_ptr<IoThread>> threads;
        for (size_t i = 0; i < std::max<size_t>(1, limits.io_threads); ++i)
          threads.push_back(std::make_unique<IoThread>());
        return threads;
      }()),
      counts_(raise_file_limit(limits.max_connections), limits.max_per_address,
              [&routes](const std::string& address) { return routes.is_trusted_proxy(address); }),
      shared_{limits.connection, routes, store_work, access_log, counts_, tls},
      acceptor_(threads_.front()->context),
      retry_accept_(threads_.front()->context),
      drain_timer_(threads_.front()->context) {}

HttpServer::~HttpServer() = default;

bool HttpServer::bind(const std::string& host, int port) {
  boost::system::error_code error;
  const auto address = asio::ip::make_address(host, error);
  if (error) {
    errno = EINVAL;
    return false;
  }
  const tcp::endpoint endpoint(address, static_cast<unsigned short>(port));
  acceptor_.open(endpoint.protocol(), error);
  // A restart binds again at once over connections still closing (SO_REUSEADDR), and a second
  // server cannot share the port unnoticed (no SO_REUSEPORT).
  if (!error) acceptor_.set_option(tcp::acceptor::reuse_address(true), error);
  if (!error) acceptor_.bind(endpoint, error);
  if (!error) acceptor_.listen(kListenBacklog, error);
  if (error) {
    errno = error.value();
    boost::system::error_code ignored;
    acceptor_.close(ignored);
    return false;
  }
  return true;
}

bool HttpServer::serve() {
  if (!acceptor_.is_open()) return false;
  for (auto& thread : threads_) {
    keep_running_.emplace_back(asio::make_work_guard(thread->context));
    sweep(*thread);
  }
  accept();
  std::vector<std::thread> others;
  for (size_t i = 1; i < threads_.size(); ++i) others.emplace_back([this, i] { run(*threads_[i]); });
  run(*threads_.front());
  for (auto& other : others) other.join();
  return !failed_;
}

void HttpServer::run(IoThread& thread) {
  for (;;) {
    try {
      thread.context.run();
      return;
    } catch (const std::exception& e) {
      // One connection's failure ends that connection only; the thread goes on with the others.
      std::cerr << "velnor-server: " << e.what() << '\n';
    }
  }
}

void HttpServer::sweep(IoThread& thread) {
  const auto now = std::chrono::steady_clock::now();
  for_each_connection_of(thread, [now](HttpConnection& connection) { connection.check_deadline(now); });
  if (shared_.stopping && thread.connections.empty()) return;
  thread.sweep.expires_after(kSweepEvery);
  thread.sweep.async_wait([this, &thread](boost::system::error_code error) {
    if (!error) sweep(thread);
  });
}

void HttpServer::stop() {
  asio::post(threads_.front()->context, [this] { begin_stop(); });
}

void HttpServer::accept() {
  IoThread& thread = *threads_[next_thread_];
  next_thread_ = (next_thread_ + 1) % threads_.size();
  acceptor_.async_accept(thread.context, [this, &thread](boost::system::error_code error, tcp::socket socket) {
    if (shared_.stopping) return;
    if (error == asio::error::no_descriptors || error == asio::error::no_buffer_space ||
        error == asio::error::no_memory) {
      // No file to spare: the connections waiting in the backlog are taken when one ends.
      retry_accept_.expires_after(kAcceptPause);
      retry_accept_.async_wait([this](boost::system::error_code waited) {
        if (!waited && !shared_.stopping) accept();
      });
      return;
    }
    if (error && error != asio::error::connection_aborted) {
      failed_ = true;
      begin_stop();
      return;
    }
    if (!error) {
      // Counted here, in the order the connections came: a crowd from one address cannot pass its
      // bound by landing on threads that happen to be quicker.
      std::string peer = peer_address(socket);
      const bool admitted = counts_.admit(peer);
      asio::post(thread.context,
                 [this, &thread, socket = std::move(socket), peer = std::move(peer), admitted]() mutable {
                   on_accepted(thread, std::move(socket), std::move(peer), admitted);
                 });
    }
    accept();
  });
}

void HttpServer::on_accepted(IoThread& thread, tcp::socket socket, std::string peer, bool admitted) {
  boost::system::error_code ignored;
  socket.set_option(tcp::no_delay(true), ignored);
  if (admitted && shared_.stopping) {
    counts_.leave(peer);
    admitted = false;
  }
  // Over TLS a refusal could be told only after a handshake, which costs more than the refusal saves.
  if (!admitted && shared_.tls) return;
  auto connection = std::make_shared<HttpConnection>(std::move(socket), std::move(peer), shared_, thread.connections);
  if (admitted)
    connection->start();
  else
    connection->turn_away();
}

void HttpServer::begin_stop() {
  if (shared_.stopping.exchange(true)) return;
  boost::system::error_code ignored;
  acceptor_.close(ignored);
  retry_accept_.cancel();
  for_each_connection([](HttpConnection& connection) { connection.stop(); });
  // Each thread ends once its connections have; the drain ends the slowest.
  keep_running_.clear();
  watch_drain(std::chrono::steady_clock::now() + limits_.drain);
}

void HttpServer::watch_drain(std::chrono::steady_clock::time_point until) {
  if (shared_.live == 0) return;
  if (std::chrono::steady_clock::now() >= until) {
    for_each_connection([](HttpConnection& connection) { connection.end_now(); });
    return;
  }
  drain_timer_.expires_after(kDrainCheck);
  drain_timer_.async_wait([this, until](boost::system::error_code error) {
    if (!error) watch_drain(until);
  });
}
