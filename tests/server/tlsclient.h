#pragma once

#include <openssl/ssl.h>

#include <string>

// A client of the server's TLS on OpenSSL directly, so that a test sees the handshake itself: the
// protocol agreed and the certificate shown. It offers http/1.1 and, as a browser would, completes
// the handshake only with a certificate that chains to the run's test authority.
class TlsClient {
 public:
  // Connects (from the loopback address `from`, if given) and has the handshake.
  explicit TlsClient(int port, const char* from = nullptr);
  ~TlsClient();
  TlsClient(const TlsClient&) = delete;
  TlsClient& operator=(const TlsClient&) = delete;

  bool connected() const { return connected_; }
  // What ALPN agreed on.
  std::string protocol() const;
  // The common name of the certificate the server showed.
  std::string certificate_name() const;
  // GETs `target` on this connection, kept alive; the whole reply, head and body, or "" when none came.
  std::string get(const std::string& target);

 private:
  SSL_CTX* context_ = nullptr;
  SSL* ssl_ = nullptr;
  int fd_ = -1;
  bool connected_ = false;
};
