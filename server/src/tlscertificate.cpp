#include "tlscertificate.h"

#include <openssl/ssl.h>

#include <cerrno>
#include <cstring>
#include <fstream>

namespace ssl = boost::asio::ssl;

namespace {

constexpr unsigned char kHttp11[] = {8, 'h', 't', 't', 'p', '/', '1', '.', '1'};

// HTTP/1.1 is all that is spoken here: a client that offers only other protocols is told so in the
// handshake rather than misread after it.
int choose_http11(SSL*, const unsigned char** chosen, unsigned char* chosen_size, const unsigned char* offered,
                  unsigned offered_size, void*) {
  unsigned char* match = nullptr;
  if (SSL_select_next_proto(&match, chosen_size, kHttp11, sizeof kHttp11, offered, offered_size) !=
      OPENSSL_NPN_NEGOTIATED)
    return SSL_TLSEXT_ERR_ALERT_FATAL;
  *chosen = match;
  return SSL_TLSEXT_ERR_OK;
}

void require_readable(const std::filesystem::path& file, const char* what) {
  if (!std::ifstream(file))
    throw TlsCertificate::Unusable("cannot read the " + std::string(what) + " " + file.string() + ": " +
                                   std::strerror(errno));
}

}  // namespace

TlsCertificate::TlsCertificate(std::filesystem::path certificate, std::filesystem::path key)
    : certificate_(std::move(certificate)), key_(std::move(key)), current_(load()) {}

void TlsCertificate::reload() {
  auto fresh = load();
  std::lock_guard lock(mutex_);
  current_ = std::move(fresh);
}

std::shared_ptr<ssl::context> TlsCertificate::current() const {
  std::lock_guard lock(mutex_);
  return current_;
}

std::shared_ptr<ssl::context> TlsCertificate::load() const {
  require_readable(certificate_, "certificate");
  require_readable(key_, "key");
  auto context = std::make_shared<ssl::context>(ssl::context::tls_server);
  SSL_CTX* native = context->native_handle();
  SSL_CTX_set_min_proto_version(native, TLS1_2_VERSION);
  // A client may not ask for a new handshake on a connection: each one costs the server dearly.
  SSL_CTX_set_options(native, SSL_OP_NO_RENEGOTIATION);
  // An idle connection holds no buffers.
  SSL_CTX_set_mode(native, SSL_MODE_RELEASE_BUFFERS);
  // Sessions are resumed from the tickets that clients keep; a cache of them here would be searched
  // and pruned on every handshake.
  SSL_CTX_set_session_cache_mode(native, SSL_SESS_CACHE_SERVER | SSL_SESS_CACHE_NO_INTERNAL);
  SSL_CTX_set_alpn_select_cb(native, choose_http11, nullptr);

  // The key first: a certificate taken after it is checked against it below, so that a pair that
  // does not match is told as such.
  boost::system::error_code error;
  context->use_private_key_file(key_.string(), ssl::context::pem, error);
  if (error) throw Unusable("the key " + key_.string() + " is no PEM private key (" + error.message() + ")");
  context->use_certificate_chain_file(certificate_.string(), error);
  if (error)
    throw Unusable("the certificate " + certificate_.string() + " is no PEM certificate (" + error.message() + ")");
  if (SSL_CTX_check_private_key(native) != 1)
    throw Unusable("the key " + key_.string() + " does not match the certificate " + certificate_.string());
  return context;
}
