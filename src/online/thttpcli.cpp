#include "thttpcli.h"

#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <limits>
#include <memory>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace velnor {

namespace {

// The longest the client waits on a socket before it handles the user
// interface's events again.
constexpr int kSliceMs = 10;
constexpr std::size_t kReceiveSize = 256 * 1024;

// "<description> (Error #<number>)"
std::string system_reason(int error) {
  return std::system_category().message(error) + " (Error #" + std::to_string(error) + ")";
}

[[noreturn]] void fail(const std::string& reason) { throw EHttpException(kHttpFailureStatus, reason); }

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

class FileDescriptor {
 public:
  FileDescriptor() = default;
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  FileDescriptor& operator=(FileDescriptor&& other) noexcept {
    std::swap(fd_, other.fd_);
    return *this;
  }
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_ = -1;
};

// The user interface's side of every wait.
class Waiter {
 public:
  explicit Waiter(const HttpWaitHooks& hooks) : hooks_(hooks) {}

  // Handles pending events; aborts the request once the application is terminating.
  void tick() const {
    if (hooks_.pump) hooks_.pump();
    if (hooks_.terminated && hooks_.terminated()) fail("Connection aborted on request");
  }

  // Waits at most one slice for `fd` to become ready.
  static void await(int fd, short events) {
    pollfd entry{fd, events, 0};
    ::poll(&entry, 1, kSliceMs);
  }

 private:
  const HttpWaitHooks& hooks_;
};

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

std::vector<Endpoint> resolve(const HttpAddress& address, const Waiter& waiter) {
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
    Waiter::await(state->done_signal.get(), POLLIN);
  }
  if (state->result == EAI_SYSTEM) fail(system_reason(state->system_error));
  if (state->result != 0) fail(::gai_strerror(state->result));
  if (state->endpoints.empty()) fail(::gai_strerror(EAI_NONAME));
  return std::move(state->endpoints);
}

// Tries every address the resolver gave, in its order; the last one's error
// is what a failure reports.
FileDescriptor connect_any(const std::vector<Endpoint>& endpoints, const Waiter& waiter) {
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
    for (;;) {
      waiter.tick();
      pollfd entry{socket.get(), POLLOUT, 0};
      if (::poll(&entry, 1, kSliceMs) > 0) break;
    }
    socklen_t length = sizeof error;
    if (::getsockopt(socket.get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = errno;
    if (error == 0) return socket;
  }
  fail(system_reason(error));
}

void send_all(int socket, std::string_view bytes, const Waiter& waiter) {
  while (!bytes.empty()) {
    waiter.tick();
    const ssize_t sent = ::send(socket, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent >= 0) {
      bytes.remove_prefix(static_cast<std::size_t>(sent));
    } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
      Waiter::await(socket, POLLOUT);
    } else if (errno != EINTR) {
      fail(system_reason(errno));
    }
  }
}

// One connection's reading side: each call hands back the next received bytes.
class Receiver {
 public:
  enum class Outcome { data, closed, broken };

  Receiver(int socket, const Waiter& waiter) : socket_(socket), waiter_(waiter), buffer_(kReceiveSize) {}

  Outcome next() {
    for (;;) {
      waiter_.tick();
      const ssize_t received = ::recv(socket_, buffer_.data(), buffer_.size(), 0);
      if (received > 0) {
        data_ = std::string_view(buffer_.data(), static_cast<std::size_t>(received));
        return Outcome::data;
      }
      if (received == 0) return Outcome::closed;
      if (errno == EAGAIN || errno == EWOULDBLOCK) {
        Waiter::await(socket_, POLLIN);
      } else if (errno != EINTR) {
        error_ = errno;
        return Outcome::broken;
      }
    }
  }
  std::string_view data() const { return data_; }
  int error() const { return error_; }

 private:
  int socket_;
  const Waiter& waiter_;
  std::vector<char> buffer_;
  std::string_view data_;
  int error_ = 0;
};

std::string request_text(const HttpAddress& address, const std::string& accept, const std::string& agent) {
  std::string text = "GET " + address.path + " HTTP/1.0\r\n";
  text += "Accept: " + accept + "\r\n";
  text += "User-Agent: " + agent + "\r\n";
  text += "Host: " + address.host_field() + "\r\n";
  if (address.has_user) text += "Authorization: Basic " + base64(address.user + ":" + address.password) + "\r\n";
  text += "\r\n";
  return text;
}

// Writes the body to the caller's stream, no further than the announced length.
class BodyWriter {
 public:
  BodyWriter(std::ostream* stream, const std::optional<std::uint64_t>& length)
      : stream_(stream), remaining_(length.value_or(std::numeric_limits<std::uint64_t>::max())), bounded_(length) {}

  void write(std::string_view bytes) {
    bytes = bytes.substr(0, static_cast<std::size_t>(std::min<std::uint64_t>(bytes.size(), remaining_)));
    remaining_ -= bytes.size();
    if (stream_ == nullptr || bytes.empty()) return;
    stream_->write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!*stream_) throw std::runtime_error("Cannot write the received data");
  }
  bool bounded() const { return bounded_; }
  bool finished() const { return bounded_ && remaining_ == 0; }

 private:
  std::ostream* stream_;
  std::uint64_t remaining_;
  bool bounded_;
};

}  // namespace

THttpCli::THttpCli(HttpWaitHooks hooks) : hooks_(std::move(hooks)) {}

void THttpCli::GetSync() {
  if (busy_) throw EHttpException(0, "HTTP component is busy");
  busy_ = true;
  struct Release {
    bool& busy;
    ~Release() { busy = false; }
  } release{busy_};

  status_ = 0;
  reason_.clear();
  content_type_.clear();
  try {
    run_request();
  } catch (const EHttpException& failure) {
    status_ = failure.status();
    reason_ = failure.what();
    throw;
  }
  if (status_ >= 400) throw EHttpException(status_, reason_);
}

void THttpCli::run_request() {
  const Waiter waiter(hooks_);
  HttpAddress address = split_address(URL);
  for (int redirections = 0;; ++redirections) {
    const FileDescriptor socket = connect_any(resolve(address, waiter), waiter);
    send_all(socket.get(), request_text(address, Accept, Agent), waiter);

    Receiver receiver(socket.get(), waiter);
    HttpReplyHeader header;
    while (!header.complete()) {
      switch (receiver.next()) {
        case Receiver::Outcome::data: header.feed(receiver.data()); break;
        case Receiver::Outcome::closed: header.finish(); break;
        case Receiver::Outcome::broken: fail(system_reason(receiver.error()));
      }
    }
    status_ = header.status();
    reason_ = header.reason();
    content_type_ = header.content_type();

    if (!header.location().empty()) {
      if (redirections == kMaxRedirections) fail("Too many redirections");
      address = follow_location(address, header.location());
      continue;
    }

    BodyWriter body(BodyStream, header.content_length());
    body.write(header.take_body_start());
    // An error reply's body is not waited for; what came with the header is kept.
    if (status_ >= 400) return;
    while (!body.finished()) {
      const Receiver::Outcome outcome = receiver.next();
      if (outcome == Receiver::Outcome::data) {
        body.write(receiver.data());
        continue;
      }
      // Without a length the end of the connection is the end of the body.
      if (!body.bounded()) return;
      if (outcome == Receiver::Outcome::broken) fail(system_reason(receiver.error()));
      fail("Connection closed during the reply body");
    }
    return;
  }
}

}  // namespace velnor
