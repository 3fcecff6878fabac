#include "support/tlstestserver.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <openssl/pem.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace velnor::testing {

namespace {

void use_identity(SSL_CTX* context, const TlsIdentity& identity) {
  BIO* certificate =
      BIO_new_mem_buf(identity.certificate_pem.data(), static_cast<int>(identity.certificate_pem.size()));
  BIO* key = BIO_new_mem_buf(identity.key_pem.data(), static_cast<int>(identity.key_pem.size()));
  X509* x509 = PEM_read_bio_X509(certificate, nullptr, nullptr, nullptr);
  EVP_PKEY* pkey = PEM_read_bio_PrivateKey(key, nullptr, nullptr, nullptr);
  const bool used = x509 != nullptr && pkey != nullptr && SSL_CTX_use_certificate(context, x509) == 1 &&
                    SSL_CTX_use_PrivateKey(context, pkey) == 1;
  X509_free(x509);
  EVP_PKEY_free(pkey);
  BIO_free(certificate);
  BIO_free(key);
  if (!used) throw std::runtime_error("test server cannot use its certificate");
}

}  // namespace

TlsTestServer::TlsTestServer(const TlsIdentity& identity, std::uint16_t port)
    : context_(SSL_CTX_new(TLS_server_method()), SSL_CTX_free) {
  use_identity(context_.get(), identity);
  listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const int on = 1;
  setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_port = htons(port);
  at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof at;
  if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0 || listen(listener_, 8) != 0 ||
      getsockname(listener_, reinterpret_cast<sockaddr*>(&at), &length) != 0 || pipe2(wake_, O_CLOEXEC) != 0)
    throw std::runtime_error("test server cannot listen on port " + std::to_string(port));
  port_ = ntohs(at.sin_port);
  thread_ = std::thread([this] { serve(); });
}

TlsTestServer::~TlsTestServer() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  const char byte = 0;
  (void)!write(wake_[1], &byte, 1);
  thread_.join();
  close(listener_);
  close(wake_[0]);
  close(wake_[1]);
}

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

bool TlsTestServer::readable(int fd, std::chrono::seconds limit) {
  pollfd fds[2] = {{fd, POLLIN, 0}, {wake_[0], POLLIN, 0}};
  if (poll(fds, 2, static_cast<int>(std::chrono::milliseconds(limit).count())) <= 0) return false;
  return fds[0].revents != 0 && fds[1].revents == 0;
}

void TlsTestServer::serve() {
  for (;;) {
    if (!readable(listener_, std::chrono::hours(1))) return;
    const int fd = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    answer(fd);
    close(fd);
  }
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
    while (readable(fd, std::chrono::seconds(30)) && recv(fd, &byte, 1, 0) > 0) {
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
