#pragma once

#include <boost/asio/ssl/context.hpp>

#include <filesystem>
#include <memory>
#include <mutex>
#include <stdexcept>

// The certificate and key that the server proves itself with over TLS (1.2 or 1.3, ALPN http/1.1),
// read from PEM files, and read again on request: each connection keeps the context it began its
// handshake with, so reading them again drops no one.
class TlsCertificate {
 public:
  class Unusable : public std::runtime_error {
   public:
    using std::runtime_error::runtime_error;
  };

  // Throws Unusable, with a one-line reason, when the files cannot be read or do not match.
  TlsCertificate(std::filesystem::path certificate, std::filesystem::path key);

  // Reads both files again; throws Unusable, keeping the pair already in use, when they will not do.
  void reload();

  // The context for a new connection's handshake; may be called from any thread.
  std::shared_ptr<boost::asio::ssl::context> current() const;

 private:
  std::shared_ptr<boost::asio::ssl::context> load() const;

  const std::filesystem::path certificate_;
  const std::filesystem::path key_;
  mutable std::mutex mutex_;
  std::shared_ptr<boost::asio::ssl::context> current_;
};
