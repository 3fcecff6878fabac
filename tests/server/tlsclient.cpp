#include "tlsclient.h"

#include <openssl/x509.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

#include "serverprocess.h"
#include "support/testauthority.h"

namespace {

constexpr unsigned char kHttp11[] = {8, 'h', 't', 't', 'p', '/', '1', '.', '1'};

}  // namespace

TlsClient::TlsClient(int port, const char* from) : context_(SSL_CTX_new(TLS_client_method())) {
  // A server that closes a refused connection while the handshake is written fails the handshake,
  // not the whole test program.
  std::signal(SIGPIPE, SIG_IGN);
  velnor::testing::test_authority().trusted_by(context_);
  fd_ = connect_loopback(port, from);
  if (fd_ < 0) return;
  // A server that never answers fails the test instead of hanging it.
  const timeval limit{10, 0};
  ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  ssl_ = SSL_new(context_);
  SSL_set_alpn_protos(ssl_, kHttp11, sizeof kHttp11);
  SSL_set_fd(ssl_, fd_);
  connected_ = SSL_connect(ssl_) == 1;
}

TlsClient::~TlsClient() {
  if (ssl_) SSL_free(ssl_);
  SSL_CTX_free(context_);
  if (fd_ >= 0) ::close(fd_);
}

std::string TlsClient::protocol() const {
  const unsigned char* chosen = nullptr;
  unsigned size = 0;
  SSL_get0_alpn_selected(ssl_, &chosen, &size);
  return std::string(reinterpret_cast<const char*>(chosen), size);
}

std::string TlsClient::certificate_name() const {
  X509* shown = SSL_get1_peer_certificate(ssl_);
  if (!shown) return {};
  char name[256] = {};
  X509_NAME_get_text_by_NID(X509_get_subject_name(shown), NID_commonName, name, sizeof name);
  X509_free(shown);
  return name;
}

std::string TlsClient::get(const std::string& target) {
  if (!connected_) return {};
  const std::string request = "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
  if (SSL_write(ssl_, request.data(), static_cast<int>(request.size())) <= 0) return {};
  std::string reply;
  size_t whole = std::string::npos;  // known once the head is in
  char buffer[4096];
  while (reply.size() < whole) {
    const int got = SSL_read(ssl_, buffer, sizeof buffer);
    if (got <= 0) return {};
    reply.append(buffer, static_cast<size_t>(got));
    const size_t head_end = reply.find("\r\n\r\n");
    if (whole == std::string::npos && head_end != std::string::npos) {
      const size_t length = reply.find("Content-Length: ");
      whole = head_end + 4 + (length < head_end ? std::strtoul(reply.c_str() + length + 16, nullptr, 10) : 0);
    }
  }
  return reply;
}
