#include "tlslibrary.h"

#include <dlfcn.h>

#include <string>

#include <QCoreApplication>

#include "httpreply.h"

namespace velnor {

namespace {

// The library's name with its ABI version: the one that these headers describe.
static_assert(OPENSSL_SHLIB_VERSION == 3, "the library file's name follows the headers' ABI version");
constexpr char kLibraryFile[] = "libssl.so.3";

struct Opened {
  TlsLibrary functions{};
  std::string problem;  // why the library cannot be used; empty once it is open
};

template <typename Function>
bool find(void* handle, const char* name, Function& function, std::string& problem) {
  // libssl's handle also finds what it takes from libcrypto, which it loads.
  function = reinterpret_cast<Function>(::dlsym(handle, name));
  if (function == nullptr && problem.empty()) problem = std::string("the TLS library lacks ") + name;
  return function != nullptr;
}

Opened open_library() {
  Opened opened;
  void* handle = ::dlopen(kLibraryFile, RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* reason = ::dlerror();
    opened.problem = QCoreApplication::translate("TlsChannel", "No TLS library: %1")
                         .arg(QString::fromLocal8Bit(reason != nullptr ? reason : kLibraryFile))
                         .toStdString();
    return opened;
  }
  TlsLibrary& f = opened.functions;
  std::string& p = opened.problem;
  find(handle, "TLS_client_method", f.TLS_client_method, p);
  find(handle, "SSL_CTX_new", f.SSL_CTX_new, p);
  find(handle, "SSL_CTX_free", f.SSL_CTX_free, p);
  find(handle, "SSL_CTX_set_default_verify_paths", f.SSL_CTX_set_default_verify_paths, p);
  find(handle, "SSL_CTX_set_verify", f.SSL_CTX_set_verify, p);
  find(handle, "SSL_CTX_set_options", f.SSL_CTX_set_options, p);
  find(handle, "SSL_CTX_ctrl", f.SSL_CTX_ctrl, p);
  find(handle, "SSL_new", f.SSL_new, p);
  find(handle, "SSL_free", f.SSL_free, p);
  find(handle, "SSL_set_fd", f.SSL_set_fd, p);
  find(handle, "SSL_ctrl", f.SSL_ctrl, p);
  find(handle, "SSL_set1_host", f.SSL_set1_host, p);
  find(handle, "SSL_get0_param", f.SSL_get0_param, p);
  find(handle, "SSL_connect", f.SSL_connect, p);
  find(handle, "SSL_read", f.SSL_read, p);
  find(handle, "SSL_write", f.SSL_write, p);
  find(handle, "SSL_get_error", f.SSL_get_error, p);
  find(handle, "SSL_get_verify_result", f.SSL_get_verify_result, p);
  find(handle, "X509_VERIFY_PARAM_set1_ip_asc", f.X509_VERIFY_PARAM_set1_ip_asc, p);
  find(handle, "X509_verify_cert_error_string", f.X509_verify_cert_error_string, p);
  find(handle, "ERR_get_error", f.ERR_get_error, p);
  find(handle, "ERR_clear_error", f.ERR_clear_error, p);
  find(handle, "ERR_reason_error_string", f.ERR_reason_error_string, p);
  // The library stays open for the life of the program, whatever came of it.
  return opened;
}

}  // namespace

const TlsLibrary& tls_library() {
  static const Opened opened = open_library();
  if (!opened.problem.empty()) throw EHttpException(kHttpFailureStatus, opened.problem);
  return opened.functions;
}

}  // namespace velnor
