#include "ticketrelay.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/wire.h"
#include "online/serverdice.h"

namespace velnor::testing {

namespace {

sockaddr_in loopback(std::uint16_t port) {
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_port = htons(port);
  at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return at;
}

bool send_all(int fd, const char* bytes, size_t size) {
  while (size > 0) {
    const ssize_t sent = ::send(fd, bytes, size, MSG_NOSIGNAL);
    if (sent <= 0) return false;
    bytes += sent;
    size -= static_cast<size_t>(sent);
  }
  return true;
}

}  // namespace

TicketRelay::TicketRelay(std::uint16_t port, std::uint16_t server_port) : server_port_(server_port) {
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const int on = 1;
  ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  const sockaddr_in at = loopback(port);
  if (listener_ < 0 || ::bind(listener_, reinterpret_cast<const sockaddr*>(&at), sizeof at) != 0 ||
      ::listen(listener_, 16) != 0 || ::pipe2(wake_, O_CLOEXEC) != 0)
    throw std::runtime_error("the relay cannot listen on port " + std::to_string(port));
  thread_ = std::thread([this] { serve(); });
}

TicketRelay::~TicketRelay() {
  const char byte = 0;
  (void)!::write(wake_[1], &byte, 1);
  thread_.join();
  for (const int fd : {listener_, wake_[0], wake_[1]}) ::close(fd);
}

std::optional<SeedTicket> TicketRelay::wait_ticket(std::size_t number, int timeout_ms) {
  std::unique_lock lock(mutex_);
  if (!dealt_.wait_for(lock, std::chrono::milliseconds(timeout_ms), [&] { return tickets_.size() >= number; }))
    return std::nullopt;
  return tickets_[number - 1];
}

std::optional<TicketRelay::Roll> TicketRelay::wait_roll(std::size_t number, int timeout_ms) {
  std::unique_lock lock(mutex_);
  if (!dealt_.wait_for(lock, std::chrono::milliseconds(timeout_ms), [&] { return rolls_.size() >= number; }))
    return std::nullopt;
  return rolls_[number - 1];
}

bool TicketRelay::wait_closed(std::size_t count, int timeout_ms) {
  std::unique_lock lock(mutex_);
  return dealt_.wait_for(lock, std::chrono::milliseconds(timeout_ms), [&] { return closed_ >= count; });
}

// One connection at a time, which is all the game makes at once.
void TicketRelay::serve() {
  for (;;) {
    pollfd entries[2] = {{listener_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
    if (::poll(entries, 2, -1) < 0) continue;
    if (entries[1].revents) return;
    const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    if (!cut_) relay(client);
    ::close(client);
    std::lock_guard lock(mutex_);
    ++closed_;
    dealt_.notify_all();
  }
}

void TicketRelay::relay(int client) {
  const int server = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const sockaddr_in at = loopback(server_port_);
  if (server < 0 || ::connect(server, reinterpret_cast<const sockaddr*>(&at), sizeof at) != 0) {
    if (server >= 0) ::close(server);
    return;
  }
  std::string request, reply;
  char buffer[16384];
  for (bool open = true; open;) {
    pollfd entries[3] = {{client, POLLIN, 0}, {server, POLLIN, 0}, {wake_[0], POLLIN, 0}};
    if (::poll(entries, 3, 30000) <= 0 || entries[2].revents) break;
    for (int side = 0; side < 2 && open; ++side) {
      if (!entries[side].revents) continue;
      const ssize_t got = ::recv(entries[side].fd, buffer, sizeof buffer, 0);
      open = got > 0 && send_all(entries[1 - side].fd, buffer, static_cast<size_t>(got));
      std::string& kept = side == 0 ? request : reply;
      if (got > 0 && kept.size() < 4096) kept.append(buffer, static_cast<size_t>(got));
    }
  }
  ::close(server);
  // The ticket is the body of the reply to a request for a seed; a roll's faces, the two digits
  // of the body of a 200 reply to a request for a roll.
  const size_t body = reply.find("\r\n\r\n");
  if (request.starts_with("GET /" + std::string(wire::kRollPath) + "?")) {
    Roll roll{request.substr(0, request.find("\r\n")), std::nullopt};
    const std::string_view dice = body == std::string::npos ? "" : std::string_view(reply).substr(body + 4);
    // Read as the game reads it, so that the test and the game agree on what was dealt.
    if (reply.starts_with("HTTP/1.") && reply.compare(8, 5, " 200 ") == 0)
      if (const auto faces = parse_roll_reply(dice)) roll.faces = std::array<int, 2>{faces->first, faces->second};
    std::lock_guard lock(mutex_);
    rolls_.push_back(roll);
    dealt_.notify_all();
    return;
  }
  if (!request.starts_with("GET /" + std::string(wire::kSeedPath) + " ") || body == std::string::npos) return;
  if (const auto ticket = parse_seed_reply(std::string_view(reply).substr(body + 4))) {
    std::lock_guard lock(mutex_);
    tickets_.push_back(*ticket);
    dealt_.notify_all();
  }
}

}  // namespace velnor::testing
