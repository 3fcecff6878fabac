#include "support/testauthority.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <stdexcept>

namespace velnor::testing {

namespace {

using Key = std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)>;
using Certificate = std::unique_ptr<X509, decltype(&X509_free)>;

Key new_key() {
  Key key(EVP_EC_gen("P-256"), EVP_PKEY_free);
  if (!key) throw std::runtime_error("no test key");
  return key;
}

void add_extension(X509* certificate, X509* issuer, int id, const char* value) {
  X509V3_CTX context;
  X509V3_set_ctx(&context, issuer, certificate, nullptr, nullptr, 0);
  X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, id, value);
  if (extension == nullptr) throw std::runtime_error("no test certificate extension");
  X509_add_ext(certificate, extension, -1);
  X509_EXTENSION_free(extension);
}

// `issuer` null: the certificate signs itself.
Certificate make_certificate(const std::string& name, EVP_PKEY* key, X509* issuer, EVP_PKEY* issuer_key, bool authority,
                             long from_seconds, long until_seconds) {
  static long serial = 1;
  Certificate certificate(X509_new(), X509_free);
  X509_set_version(certificate.get(), 2);
  ASN1_INTEGER_set(X509_get_serialNumber(certificate.get()), serial++);
  X509_gmtime_adj(X509_getm_notBefore(certificate.get()), from_seconds);
  X509_gmtime_adj(X509_getm_notAfter(certificate.get()), until_seconds);
  X509_set_pubkey(certificate.get(), key);
  X509_NAME* subject = X509_get_subject_name(certificate.get());
  X509_NAME_add_entry_by_txt(subject, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>(name.c_str()), -1, -1,
                             0);
  X509* signer = issuer != nullptr ? issuer : certificate.get();
  X509_set_issuer_name(certificate.get(), X509_get_subject_name(signer));
  if (authority) {
    add_extension(certificate.get(), signer, NID_basic_constraints, "critical,CA:TRUE");
    add_extension(certificate.get(), signer, NID_key_usage, "critical,keyCertSign,cRLSign");
  } else {
    add_extension(certificate.get(), signer, NID_subject_alt_name, ("DNS:" + name).c_str());
  }
  if (X509_sign(certificate.get(), issuer_key != nullptr ? issuer_key : key, EVP_sha256()) == 0)
    throw std::runtime_error("test certificate not signed");
  return certificate;
}

std::string pem(X509* certificate) {
  std::unique_ptr<BIO, decltype(&BIO_free)> out(BIO_new(BIO_s_mem()), BIO_free);
  PEM_write_bio_X509(out.get(), certificate);
  char* bytes = nullptr;
  const long size = BIO_get_mem_data(out.get(), &bytes);
  return std::string(bytes, static_cast<std::size_t>(size));
}

std::string pem(EVP_PKEY* key) {
  std::unique_ptr<BIO, decltype(&BIO_free)> out(BIO_new(BIO_s_mem()), BIO_free);
  PEM_write_bio_PrivateKey(out.get(), key, nullptr, nullptr, 0, nullptr, nullptr);
  char* bytes = nullptr;
  const long size = BIO_get_mem_data(out.get(), &bytes);
  return std::string(bytes, static_cast<std::size_t>(size));
}

Key read_key(const std::string& text) {
  std::unique_ptr<BIO, decltype(&BIO_free)> in(BIO_new_mem_buf(text.data(), static_cast<int>(text.size())), BIO_free);
  return Key(PEM_read_bio_PrivateKey(in.get(), nullptr, nullptr, nullptr), EVP_PKEY_free);
}

Certificate read_certificate(const std::string& text) {
  std::unique_ptr<BIO, decltype(&BIO_free)> in(BIO_new_mem_buf(text.data(), static_cast<int>(text.size())), BIO_free);
  return Certificate(PEM_read_bio_X509(in.get(), nullptr, nullptr, nullptr), X509_free);
}

}  // namespace

void TlsIdentity::served_by(SSL_CTX* context) const {
  Certificate certificate = read_certificate(certificate_pem);
  Key key = read_key(key_pem);
  if (!certificate || !key || SSL_CTX_use_certificate(context, certificate.get()) != 1 ||
      SSL_CTX_use_PrivateKey(context, key.get()) != 1)
    throw std::runtime_error("test server cannot use its certificate");
}

void TlsIdentity::write(const std::filesystem::path& certificate, const std::filesystem::path& key) const {
  for (const auto& [path, text] : {std::pair{&certificate, &certificate_pem}, std::pair{&key, &key_pem}})
    if (!(std::ofstream(*path, std::ios::binary) << *text)) throw std::runtime_error("cannot write " + path->string());
}

TestAuthority::TestAuthority() {
  // Valid from years before now: a game whose clock stands still on a day long past trusts it too.
  Key key = new_key();
  Certificate certificate =
      make_certificate("Velnor Test Authority", key.get(), nullptr, nullptr, true, -10L * 365 * 86400, 30 * 86400);
  own_ = {pem(certificate.get()), pem(key.get())};
}

TlsIdentity TestAuthority::issue(const std::string& host, long from_seconds, long until_seconds) const {
  Key authority_key = read_key(own_.key_pem);
  Certificate authority = read_certificate(own_.certificate_pem);
  Key key = new_key();
  Certificate certificate =
      make_certificate(host, key.get(), authority.get(), authority_key.get(), false, from_seconds, until_seconds);
  return {pem(certificate.get()), pem(key.get())};
}

void TestAuthority::trusted_by(SSL_CTX* context) const {
  Certificate authority = read_certificate(own_.certificate_pem);
  if (!authority || X509_STORE_add_cert(SSL_CTX_get_cert_store(context), authority.get()) != 1)
    throw std::runtime_error("the test authority cannot be trusted");
  SSL_CTX_set_verify(context, SSL_VERIFY_PEER, nullptr);
}

TlsIdentity TestAuthority::self_signed(const std::string& host, long from_seconds, long until_seconds) {
  Key key = new_key();
  Certificate certificate = make_certificate(host, key.get(), nullptr, nullptr, false, from_seconds, until_seconds);
  return {pem(certificate.get()), pem(key.get())};
}

const TestAuthority& test_authority() {
  static const TestAuthority made;
  return made;
}

TrustOnly::TrustOnly(const TestAuthority& authority)
    : file_(std::filesystem::temp_directory_path() / ("velnor_trust_" + std::to_string(::getpid()) + ".pem")) {
  std::ofstream(file_, std::ios::binary) << authority.certificate_pem();
  ::setenv("SSL_CERT_FILE", file_.c_str(), 1);
  ::setenv("SSL_CERT_DIR", "/nonexistent", 1);
}

TrustOnly::~TrustOnly() {
  ::unsetenv("SSL_CERT_FILE");
  ::unsetenv("SSL_CERT_DIR");
  std::error_code ignored;
  std::filesystem::remove(file_, ignored);
}

}  // namespace velnor::testing
