#include "support/loopbacklistener.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>
#include <string>

namespace velnor::testing {

LoopbackListener::LoopbackListener(std::uint16_t port, std::function<void(int connection)> on_connection)
    : on_connection_(std::move(on_connection)) {
  socket_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const int on = 1;
  setsockopt(socket_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_port = htons(port);
  at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof at;
  if (socket_ < 0 || bind(socket_, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0 || listen(socket_, 8) != 0 ||
      getsockname(socket_, reinterpret_cast<sockaddr*>(&at), &length) != 0 || pipe2(wake_, O_CLOEXEC) != 0) {
    for (const int fd : {socket_, wake_[0], wake_[1]})
      if (fd >= 0) close(fd);
    throw std::runtime_error("test server cannot listen on port " + std::to_string(port));
  }
  port_ = ntohs(at.sin_port);
  thread_ = std::thread([this] { serve(); });
}

LoopbackListener::~LoopbackListener() {
  const char byte = 0;
  (void)!write(wake_[1], &byte, 1);
  thread_.join();
  for (const int fd : {socket_, wake_[0], wake_[1]}) close(fd);
}

bool LoopbackListener::readable(int fd, Clock::time_point deadline) const {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  pollfd fds[2] = {{fd, POLLIN, 0}, {wake_[0], POLLIN, 0}};
  if (left <= 0 || poll(fds, 2, static_cast<int>(left)) <= 0) return false;
  return fds[0].revents != 0 && fds[1].revents == 0;
}

void LoopbackListener::serve() {
  for (;;) {
    pollfd fds[2] = {{socket_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
    if (poll(fds, 2, -1) < 0) continue;
    if (fds[1].revents != 0) return;
    const int connection = accept4(socket_, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) continue;
    on_connection_(connection);
    close(connection);
  }
}

}  // namespace velnor::testing
