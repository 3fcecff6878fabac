#pragma once

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509_vfy.h>

// The system's TLS library (OpenSSL's libssl), opened on the first https address rather than
// linked: a game that only ever speaks plain http starts without loading it. The headers give
// only types and constants here; every call goes through the functions found on opening.
namespace velnor {

struct TlsLibrary {
  decltype(&::TLS_client_method) TLS_client_method;
  decltype(&::SSL_CTX_new) SSL_CTX_new;
  decltype(&::SSL_CTX_free) SSL_CTX_free;
  decltype(&::SSL_CTX_set_default_verify_paths) SSL_CTX_set_default_verify_paths;
  decltype(&::SSL_CTX_set_verify) SSL_CTX_set_verify;
  decltype(&::SSL_CTX_set_options) SSL_CTX_set_options;
  decltype(&::SSL_CTX_ctrl) SSL_CTX_ctrl;
  decltype(&::SSL_new) SSL_new;
  decltype(&::SSL_free) SSL_free;
  decltype(&::SSL_set_fd) SSL_set_fd;
  decltype(&::SSL_ctrl) SSL_ctrl;
  decltype(&::SSL_set1_host) SSL_set1_host;
  decltype(&::SSL_get0_param) SSL_get0_param;
  decltype(&::SSL_connect) SSL_connect;
  decltype(&::SSL_read) SSL_read;
  decltype(&::SSL_write) SSL_write;
  decltype(&::SSL_get_error) SSL_get_error;
  decltype(&::SSL_get_verify_result) SSL_get_verify_result;
  decltype(&::X509_VERIFY_PARAM_set1_ip_asc) X509_VERIFY_PARAM_set1_ip_asc;
  decltype(&::X509_verify_cert_error_string) X509_verify_cert_error_string;
  decltype(&::ERR_get_error) ERR_get_error;
  decltype(&::ERR_clear_error) ERR_clear_error;
  decltype(&::ERR_reason_error_string) ERR_reason_error_string;
};

// Opens the library on the first call, from any thread; later calls return the same one. Raises
// EHttpException, with the loader's reason, when the library or one of its functions is missing.
const TlsLibrary& tls_library();

}  // namespace velnor
