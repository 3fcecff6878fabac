#pragma once

#include <openssl/ssl.h>

#include <filesystem>
#include <string>

// A certificate authority made for one test run, and the server certificates it signs: what a
// test points the game's trust at (SSL_CERT_FILE) instead of the system's store.
namespace velnor::testing {

struct TlsIdentity {
  std::string certificate_pem;
  std::string key_pem;

  // Has a TLS server's `context` show this certificate and hold its key.
  void served_by(SSL_CTX* context) const;
  // Writes the certificate and the key, as PEM, for a server that reads them from files.
  void write(const std::filesystem::path& certificate, const std::filesystem::path& key) const;
};

class TestAuthority {
 public:
  TestAuthority();

  const std::string& certificate_pem() const { return own_.certificate_pem; }
  // Has a TLS client's `context` check the server's certificate, trusting this authority.
  void trusted_by(SSL_CTX* context) const;

  // A server certificate naming `host`, valid from `from_seconds` to `until_seconds` from now.
  TlsIdentity issue(const std::string& host, long from_seconds = -3600, long until_seconds = 86400) const;
  // One that no authority signed.
  static TlsIdentity self_signed(const std::string& host, long from_seconds = -3600, long until_seconds = 86400);

 private:
  TlsIdentity own_;
};

// The run's one authority: making keys takes a moment.
const TestAuthority& test_authority();

// While it lives, the TLS library trusts `authority` alone: its store is read from SSL_CERT_FILE,
// and SSL_CERT_DIR names no folder.
class TrustOnly {
 public:
  explicit TrustOnly(const TestAuthority& authority = test_authority());
  ~TrustOnly();
  TrustOnly(const TrustOnly&) = delete;
  TrustOnly& operator=(const TrustOnly&) = delete;

  // For a program started with an environment of its own.
  const std::filesystem::path& file() const { return file_; }

 private:
  std::filesystem::path file_;
};

}  // namespace velnor::testing
