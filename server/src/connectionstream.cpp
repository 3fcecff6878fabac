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

constexpr size_t kInputBufferSize = 16 * 1024;
constexpr size_t kOutputBufferSize = 64 * 1024;
constexpr std::chrono::milliseconds kPollSlice(50);
constexpr std::chrono::milliseconds kDrainTime(200);
constexpr size_t kDrainBytes = 256 * 1024;

void address_text(const sockaddr_storage& address, std::string& ip, int& port)
{
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

ConnectionStream::ConnectionStream(int fd, Limits limits, std::function<bool()> stopping)
    : fd_(fd), limits_(limits), stopping_(std::move(stopping)), input_(kInputBufferSize)
{
  output_.reserve(kOutputBufferSize);
}

ConnectionStream::~ConnectionStream()
{
  if (fd_ >= 0) ::close(fd_);
}

bool ConnectionStream::wait_for(short events, std::chrono::milliseconds timeout, const std::function<bool()>& give_way) const
{
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd entry{fd_, events, 0};
    const int ready = ::poll(&entry, 1, static_cast<int>(std::clamp(left, std::chrono::milliseconds(0), kPollSlice).count()));
    if (ready > 0) return (entry.revents & events) != 0 || (entry.revents & (POLLHUP | POLLERR)) != 0;
    if (ready < 0 && errno != EINTR) return false;
    if (left <= std::chrono::milliseconds(0) || stopping_() || (give_way && give_way())) return false;
  }
}

bool ConnectionStream::is_readable() const
{
  return input_pos_ < input_end_ || wait_for(POLLIN, limits_.read_timeout);
}

bool ConnectionStream::is_writable() const
{
  return !broken_ && wait_for(POLLOUT, limits_.write_timeout);
}

ssize_t ConnectionStream::read(char* ptr, size_t size)
{
  if (consumed_ >= limits_.max_request_bytes) {
    over_budget_ = true;
    return -1;
  }
  if (input_pos_ == input_end_) {
    // The peer may be waiting for what we wrote before it sends more.
    if (!flush() || !wait_for(POLLIN, limits_.read_timeout)) return -1;
    ssize_t received;
    do {
      received = ::recv(fd_, input_.data(), input_.size(), MSG_DONTWAIT);
    } while (received < 0 && errno == EINTR);
    if (received <= 0) return received;
    input_pos_ = 0;
    input_end_ = static_cast<size_t>(received);
  }
  const size_t n = std::min({size, input_end_ - input_pos_, limits_.max_request_bytes - consumed_});
  std::memcpy(ptr, input_.data() + input_pos_, n);
  input_pos_ += n;
  consumed_ += n;
  return static_cast<ssize_t>(n);
}

ssize_t ConnectionStream::write(const char* ptr, size_t size)
{
  if (broken_) return -1;
  wrote_ = true;
  if (output_.size() + size > kOutputBufferSize) {
    if (!flush()) return -1;
    if (size > kOutputBufferSize) return send_all(ptr, size) ? static_cast<ssize_t>(size) : -1;
  }
  output_.append(ptr, size);
  return static_cast<ssize_t>(size);
}

bool ConnectionStream::flush()
{
  if (output_.empty()) return !broken_;
  const bool sent = send_all(output_.data(), output_.size());
  output_.clear();
  return sent;
}

bool ConnectionStream::send_all(const char* data, size_t size)
{
  while (size > 0 && !broken_) {
    const ssize_t sent = ::send(fd_, data, size, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent > 0) {
      data += sent;
      size -= static_cast<size_t>(sent);
    } else if (sent < 0 && errno == EINTR) {
      continue;
    } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      // Only a slow reader gets here; a stop ends its transfer rather than the server's exit waiting for it.
      if (!wait_for(POLLOUT, limits_.write_timeout)) broken_ = true;
    } else {
      broken_ = true;
    }
  }
  return !broken_;
}

void ConnectionStream::get_remote_ip_and_port(std::string& ip, int& port) const
{
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  ip.clear();
  port = 0;
  if (::getpeername(fd_, reinterpret_cast<sockaddr*>(&address), &length) == 0) address_text(address, ip, port);
}

void ConnectionStream::get_local_ip_and_port(std::string& ip, int& port) const
{
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  ip.clear();
  port = 0;
  if (::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) == 0) address_text(address, ip, port);
}

socket_t ConnectionStream::socket() const
{
  return fd_;
}

void ConnectionStream::begin_request()
{
  consumed_ = 0;
  over_budget_ = false;
  wrote_ = false;
}

bool ConnectionStream::wait_for_request(std::chrono::milliseconds timeout, const std::function<bool()>& give_way)
{
  if (input_pos_ < input_end_) return true;
  if (!flush()) return false;
  // After a stop, only a request that has already arrived is still served.
  if (stopping_()) return wait_for(POLLIN, std::chrono::milliseconds(0));
  return wait_for(POLLIN, timeout, give_way);
}

void ConnectionStream::close()
{
  if (fd_ < 0) return;
  flush();
  ::shutdown(fd_, SHUT_WR);
  const auto deadline = std::chrono::steady_clock::now() + kDrainTime;
  size_t drained = 0;
  while (drained < kDrainBytes) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd entry{fd_, POLLIN, 0};
    if (left.count() <= 0 || ::poll(&entry, 1, static_cast<int>(left.count())) <= 0) break;
    const ssize_t received = ::recv(fd_, input_.data(), input_.size(), MSG_DONTWAIT);
    if (received <= 0) break;
    drained += static_cast<size_t>(received);
  }
  ::close(fd_);
  fd_ = -1;
}
