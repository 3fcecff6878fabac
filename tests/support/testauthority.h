#pragma once

#include <string>

// A certificate authority made for one test run, and the server certificates it signs: what a
// test points the game's trust at (SSL_CERT_FILE) instead of the system's store.
namespace velnor::testing {

struct TlsIdentity {
  std::string certificate_pem;
  std::string key_pem;
};

class TestAuthority {
 public:
  TestAuthority();

  const std::string& certificate_pem() const { return own_.certificate_pem; }

  // A server certificate naming `host`, valid from `from_seconds` to `until_seconds` from now.
  TlsIdentity issue(const std::string& host, long from_seconds = -3600, long until_seconds = 86400) const;
  // One that no authority signed.
  static TlsIdentity self_signed(const std::string& host);

 private:
  TlsIdentity own_;
};

}  // namespace velnor::testing
