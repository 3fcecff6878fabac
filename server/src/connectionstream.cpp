#include "connectionstream.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr size_t kReadChunk = 16 * 1024;
constexpr size_t kOutputBufferSize = 64 * 1024;
constexpr std::chrono::milliseconds kPollSlice(50);
constexpr std::chrono::milliseconds kDrainTime(200);
constexpr size_t kDrainBytes = 256 * 1024;
constexpr std::string_view kHeadEnd = "\r\n\r\n";

void address_text(const sockaddr_storage& address, std::string& ip, int& port) {
  char text[INET6_ADDRSTRLEN] = {};
  if (address.ss_family == AF_INET) {
    const auto& v4 = reinterpret_cast<const sockaddr_in&>(address);
    inet_ntop(AF_INET, &v4.sin_addr, text, sizeof text);
    port = ntohs(v4.sin_port);
  } else if (address.ss_family == AF_INET6) {
    const auto& v6 = reinterpret_cast<const sockaddr_in6&>(address);
    inet_ntop(AF_INET6, &v6.sin6_addr, text, sizeof text);
    port = ntohs(v6.sin6_port);
  }
  ip = text;
}

}  // namespace

ConnectionStream::ConnectionStream(int fd, std::atomic<size_t>& open, size_t max_head_bytes,
                                   std::chrono::milliseconds write_timeout, std::function<bool()> stopping)
    : fd_(fd),
      open_(open),
      max_head_bytes_(max_head_bytes),
      write_timeout_(write_timeout),
      stopping_(std::move(stopping)) {
  ++open_;
}

ConnectionStream::~ConnectionStream() { release(); }

void ConnectionStream::release() {
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
  --open_;
}

ConnectionStream::Head ConnectionStream::receive() {
  if (input_pos_ > 0) {
    // Keeps the buffer from growing by moving the unread bytes to the front.
    input_.erase(0, input_pos_);
    head_end_ -= std::min(head_end_, input_pos_);
    scanned_ -= std::min(scanned_, input_pos_);
    input_pos_ = 0;
  }
  if (input_.size() >= max_head_bytes_) return head_state();
  const size_t old_size = input_.size();
  input_.resize(old_size + kReadChunk);
  ssize_t received;
  do {
    received = ::recv(fd_, input_.data() + old_size, kReadChunk, MSG_DONTWAIT);
  } while (received < 0 && errno == EINTR);
  input_.resize(old_size + static_cast<size_t>(std::max<ssize_t>(received, 0)));
  if (received == 0 || (received < 0 && errno != EAGAIN && errno != EWOULDBLOCK)) return Head::kClosed;
  return head_state();
}

ConnectionStream::Head ConnectionStream::head_state() {
  if (head_end_ == 0) {
    const size_t from = std::max(input_pos_, scanned_ >= kHeadEnd.size() ? scanned_ - (kHeadEnd.size() - 1) : 0);
    const size_t found = std::string_view(input_).find(kHeadEnd, from);
    if (found != std::string_view::npos) {
      head_end_ = found + kHeadEnd.size();
    } else {
      scanned_ = input_.size();
    }
  }
  const size_t length = (head_end_ != 0 ? head_end_ : input_.size()) - input_pos_;
  if (length > max_head_bytes_ || (head_end_ == 0 && length >= max_head_bytes_)) return Head::kTooLarge;
  return head_end_ != 0 ? Head::kComplete : Head::kPartial;
}

std::string_view ConnectionStream::head() const {
  return std::string_view(input_).substr(input_pos_, head_end_ - input_pos_);
}

void ConnectionStream::begin_request() { request_end_ = head_end_; }

void ConnectionStream::end_request() {
  input_pos_ = std::max(input_pos_, request_end_);
  head_end_ = 0;
  scanned_ = input_pos_;
  request_end_ = 0;
  if (input_pos_ == input_.size()) {
    input_.clear();
    input_pos_ = scanned_ = 0;
  }
}

bool ConnectionStream::wait_for(short events, std::chrono::milliseconds timeout,
                                const std::function<bool()>& give_way) const {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd entry{fd_, events, 0};
    const int ready =
        ::poll(&entry, 1, static_cast<int>(std::clamp(left, std::chrono::milliseconds(0), kPollSlice).count()));
    if (ready > 0) return (entry.revents & events) != 0 || (entry.revents & (POLLHUP | POLLERR)) != 0;
    if (ready < 0 && errno != EINTR) return false;
    if (left <= std::chrono::milliseconds(0) || stopping_() || (give_way && give_way())) return false;
  }
}

bool ConnectionStream::wait_for_input(std::chrono::milliseconds timeout, const std::function<bool()>& give_way) {
  if (!flush()) return false;
  // After a stop, only a request that has already arrived is still served.
  if (stopping_()) return wait_for(POLLIN, std::chrono::milliseconds(0));
  return wait_for(POLLIN, timeout, give_way);
}

bool ConnectionStream::is_readable() const { return input_pos_ < request_end_; }

bool ConnectionStream::is_writable() const { return !broken_ && wait_for(POLLOUT, write_timeout_); }

ssize_t ConnectionStream::read(char* ptr, size_t size) {
  // The library reads the head only; a body, which nothing here takes, is refused before it starts.
  const size_t n = std::min(size, request_end_ - std::min(request_end_, input_pos_));
  std::memcpy(ptr, input_.data() + input_pos_, n);
  input_pos_ += n;
  return static_cast<ssize_t>(n);
}

ssize_t ConnectionStream::write(const char* ptr, size_t size) {
  if (broken_) return -1;
  if (output_.size() + size > kOutputBufferSize) {
    if (!flush()) return -1;
    if (size > kOutputBufferSize) return send_all(ptr, size) ? static_cast<ssize_t>(size) : -1;
  }
  output_.append(ptr, size);
  return static_cast<ssize_t>(size);
}

bool ConnectionStream::flush() {
  if (output_.empty()) return !broken_;
  const bool sent = send_all(output_.data(), output_.size());
  output_.clear();
  return sent;
}

bool ConnectionStream::send_all(const char* data, size_t size) {
  while (size > 0 && !broken_) {
    const ssize_t sent = ::send(fd_, data, size, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent > 0) {
      data += sent;
      size -= static_cast<size_t>(sent);
    } else if (sent < 0 && errno == EINTR) {
      continue;
    } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      // Only a slow reader gets here; a stop ends its transfer rather than the server's exit waiting for it.
      if (!wait_for(POLLOUT, write_timeout_)) broken_ = true;
    } else {
      broken_ = true;
    }
  }
  return !broken_;
}

void ConnectionStream::get_remote_ip_and_port(std::string& ip, int& port) const {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  ip.clear();
  port = 0;
  if (::getpeername(fd_, reinterpret_cast<sockaddr*>(&address), &length) == 0) address_text(address, ip, port);
}

void ConnectionStream::get_local_ip_and_port(std::string& ip, int& port) const {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  ip.clear();
  port = 0;
  if (::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) == 0) address_text(address, ip, port);
}

socket_t ConnectionStream::socket() const { return fd_; }

void ConnectionStream::refuse(std::string_view reply) {
  if (fd_ < 0) return;
  // Answers already written go first (only a worker leaves any).
  flush();
  ::send(fd_, reply.data(), reply.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
  ::shutdown(fd_, SHUT_WR);
  // What the peer already sent is read away, so that closing does not reset the reply.
  char sink[4096];
  while (::recv(fd_, sink, sizeof sink, MSG_DONTWAIT) > 0) {
  }
  release();
}

void ConnectionStream::close() {
  if (fd_ < 0) return;
  flush();
  ::shutdown(fd_, SHUT_WR);
  const auto deadline = std::chrono::steady_clock::now() + kDrainTime;
  size_t drained = 0;
  char sink[4096];
  while (drained < kDrainBytes) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd entry{fd_, POLLIN, 0};
    if (left.count() <= 0 || ::poll(&entry, 1, static_cast<int>(left.count())) <= 0) break;
    const ssize_t received = ::recv(fd_, sink, sizeof sink, MSG_DONTWAIT);
    if (received <= 0) break;
    drained += static_cast<size_t>(received);
  }
  release();
}
