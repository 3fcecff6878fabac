#include "httpconnection.h"

#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <system_error>
#include <thread>

#include "tlschannel.h"

namespace velnor {

namespace {

[[noreturn]] void fail(const std::string& reason) { throw EHttpException(kHttpFailureStatus, reason); }

struct Endpoint {
  sockaddr_storage address{};
  socklen_t length = 0;
  int family = 0;
};

// Shared with the resolver thread, which keeps it alive when an aborted request
// stops waiting for it.
struct Resolution {
  FileDescriptor done_signal{::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)};
  std::atomic<bool> done{false};
  int result = 0;
  int system_error = 0;
  std::vector<Endpoint> endpoints;
};

// A host-name lookup cannot be cut short, so it runs on a thread of its own and
// an aborted request simply stops waiting for it.
std::vector<Endpoint> resolve(const HttpAddress& address, const HttpWaiter& waiter) {
  // A request aborted before it starts asks nothing of anyone: a numeric address can resolve
  // and connect before the loops below would first look.
  waiter.tick();
  auto state = std::make_shared<Resolution>();
  if (state->done_signal.get() < 0) fail(system_reason(errno));
  std::thread([state, host = address.host, port = std::to_string(address.port)] {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* list = nullptr;
    state->result = ::getaddrinfo(host.c_str(), port.c_str(), &hints, &list);
    state->system_error = errno;
    for (const addrinfo* entry = list; entry != nullptr; entry = entry->ai_next) {
      if (entry->ai_addrlen > sizeof(sockaddr_storage)) continue;
      Endpoint endpoint;
      std::memcpy(&endpoint.address, entry->ai_addr, entry->ai_addrlen);
      endpoint.length = entry->ai_addrlen;
      endpoint.family = entry->ai_family;
      state->endpoints.push_back(endpoint);
    }
    if (list != nullptr) ::freeaddrinfo(list);
    state->done.store(true, std::memory_order_release);
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write(state->done_signal.get(), &one, sizeof one);
  }).detach();

  while (!state->done.load(std::memory_order_acquire)) {
    waiter.tick();
    waiter.await(state->done_signal.get(), POLLIN);
  }
  if (state->result == EAI_SYSTEM) fail(system_reason(state->system_error));
  if (state->result != 0) fail(::gai_strerror(state->result));
  if (state->endpoints.empty()) fail(::gai_strerror(EAI_NONAME));
  return std::move(state->endpoints);
}

// Tries every address the resolver gave, in its order; the last one's error
// is what a failure reports.
FileDescriptor connect_any(const std::vector<Endpoint>& endpoints, const HttpWaiter& waiter) {
  int error = 0;
  for (const Endpoint& endpoint : endpoints) {
    FileDescriptor socket(::socket(endpoint.family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_TCP));
    if (socket.get() < 0) {
      error = errno;
      continue;
    }
    if (::connect(socket.get(), reinterpret_cast<const sockaddr*>(&endpoint.address), endpoint.length) == 0)
      return socket;
    if (errno != EINPROGRESS && errno != EINTR) {
      error = errno;
      continue;
    }
    do {
      waiter.tick();
    } while (!waiter.await(socket.get(), POLLOUT));
    socklen_t length = sizeof error;
    if (::getsockopt(socket.get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = errno;
    if (error == 0) return socket;
  }
  fail(system_reason(error));
}

void send_all(int socket, std::string_view bytes, HttpWaiter& waiter) {
  while (!bytes.empty()) {
    waiter.tick();
    const ssize_t sent = ::send(socket, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent >= 0) {
      bytes.remove_prefix(static_cast<std::size_t>(sent));
      waiter.moved(static_cast<std::size_t>(sent));
    } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
      waiter.await(socket, POLLOUT);
    } else if (errno != EINTR) {
      fail(system_reason(errno));
    }
  }
}

}  // namespace

std::string base64(std::string_view bytes) {
  static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::size_t count = std::min<std::size_t>(3, bytes.size() - i);
    std::uint32_t group = 0;
    for (std::size_t k = 0; k < 3; ++k)
      group = (group << 8) | (k < count ? static_cast<unsigned char>(bytes[i + k]) : 0u);
    for (std::size_t k = 0; k < 4; ++k) text += k <= count ? kDigits[(group >> (18 - 6 * k)) & 0x3f] : '=';
  }
  return text;
}

HttpConnection::HttpConnection(const HttpAddress& to, std::string_view request, HttpWaiter& waiter,
                               std::size_t read_size, const HttpAddress* proxy)
    : waiter_(waiter), buffer_(read_size) {
  if (proxy != nullptr && proxy->secure) fail("A proxy on https is not supported");
  socket_ = connect_any(resolve(proxy != nullptr ? *proxy : to, waiter), waiter);
  if (proxy != nullptr && to.secure) open_tunnel(to, *proxy);
  if (to.secure) {
    tls_ = std::make_unique<TlsChannel>(socket_.get(), to.host, waiter);
    tls_->send(request);
  } else {
    send_all(socket_.get(), request, waiter);
  }
}

HttpConnection::~HttpConnection() = default;

void HttpConnection::open_tunnel(const HttpAddress& to, const HttpAddress& proxy) {
  const std::string authority = to.host_field() + ":" + std::to_string(to.port);
  std::string text = "CONNECT " + authority + " HTTP/1.1\r\nHost: " + authority + "\r\n";
  if (proxy.has_user) text += "Proxy-Authorization: Basic " + base64(proxy.user + ":" + proxy.password) + "\r\n";
  text += "\r\n";
  send_all(socket_.get(), text, waiter_);
  HttpReplyHeader header;
  read_header(header);
  if (header.status() < 200 || header.status() > 299)
    fail("The proxy would not open a tunnel (" + std::to_string(header.status()) + ")");
  // Nothing may come before the server's handshake: it would be the proxy's, not the server's.
  if (!header.take_body_start().empty()) fail("The proxy sent bytes of its own into the tunnel");
}

void HttpConnection::read_header(HttpReplyHeader& header) {
  while (!header.complete()) {
    switch (receive()) {
      case Outcome::data:
        header.feed(data_);
        break;
      case Outcome::closed:
        header.finish();
        break;
      case Outcome::broken:
        fail(system_reason(error_));
    }
  }
}

HttpConnection::Outcome HttpConnection::receive() {
  if (tls_) {
    const std::size_t received = tls_->receive(buffer_.data(), buffer_.size());
    if (received == 0) return Outcome::closed;
    data_ = std::string_view(buffer_.data(), received);
    return Outcome::data;
  }
  for (;;) {
    waiter_.tick();
    const ssize_t received = ::recv(socket_.get(), buffer_.data(), buffer_.size(), 0);
    if (received > 0) {
      waiter_.moved(static_cast<std::size_t>(received));
      data_ = std::string_view(buffer_.data(), static_cast<std::size_t>(received));
      return Outcome::data;
    }
    if (received == 0) return Outcome::closed;
    if (errno == EAGAIN || errno == EWOULDBLOCK) {
      waiter_.await(socket_.get(), POLLIN);
    } else if (errno != EINTR) {
      error_ = errno;
      return Outcome::broken;
    }
  }
}

}  // namespace velnor
