#include "support/tlstestserver.h"

#include <sys/socket.h>

namespace velnor::testing {

namespace {

std::unique_ptr<SSL_CTX, decltype(&SSL_CTX_free)> server_context(const TlsIdentity& identity) {
  std::unique_ptr<SSL_CTX, decltype(&SSL_CTX_free)> context(SSL_CTX_new(TLS_server_method()), SSL_CTX_free);
  identity.served_by(context.get());
  return context;
}

}  // namespace

TlsTestServer::TlsTestServer(const TlsIdentity& identity, std::uint16_t port)
    : context_(server_context(identity)), listener_(port, [this](int fd) { answer(fd); }) {}

void TlsTestServer::script(Answer answer) {
  std::lock_guard lock(mutex_);
  answers_.push_back(std::move(answer));
}

std::vector<std::string> TlsTestServer::requests() {
  std::lock_guard lock(mutex_);
  return requests_;
}

bool TlsTestServer::wait_requests(std::size_t count, std::chrono::seconds limit) {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, limit, [&] { return requests_.size() >= count; });
}

bool TlsTestServer::wait_client_gone(std::chrono::seconds limit) {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, limit, [&] { return client_gone_; });
}

void TlsTestServer::answer(int fd) {
  Answer answer;
  {
    std::lock_guard lock(mutex_);
    if (!answers_.empty()) {
      answer = std::move(answers_.front());
      answers_.pop_front();
    }
  }
  if (answer.plain) {
    (void)!send(fd, answer.bytes.data(), answer.bytes.size(), MSG_NOSIGNAL);
    char byte;
    while (listener_.readable(fd, LoopbackListener::Clock::now() + std::chrono::seconds(30)) &&
           recv(fd, &byte, 1, 0) > 0) {
    }
    std::lock_guard lock(mutex_);
    client_gone_ = true;
    changed_.notify_all();
    return;
  }
  // A client that stops halfway must not hold the server for ever.
  const timeval limit{10, 0};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
  std::unique_ptr<SSL, decltype(&SSL_free)> session(SSL_new(context_.get()), SSL_free);
  SSL_set_fd(session.get(), fd);
  if (SSL_accept(session.get()) != 1) return;  // the client refused us
  std::string request;
  char buffer[4096];
  while (request.find("\r\n\r\n") == std::string::npos) {
    const int got = SSL_read(session.get(), buffer, sizeof buffer);
    if (got <= 0) break;
    request.append(buffer, static_cast<std::size_t>(got));
  }
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(request);
    changed_.notify_all();
  }
  SSL_write(session.get(), answer.bytes.data(), static_cast<int>(answer.bytes.size()));
  SSL_shutdown(session.get());
}

}  // namespace velnor::testing
