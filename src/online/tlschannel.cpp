#include "tlschannel.h"

#include <arpa/inet.h>
#include <poll.h>
#include <pthread.h>

#include <csignal>

#include <algorithm>
#include <cerrno>
#include <climits>

#include <QCoreApplication>

#include "httpwaiter.h"
#include "tlslibrary.h"

namespace velnor {

namespace {

// The reasons a player reads under the failure's details, in their language where it has them.
std::string in_players_language(const char* text) {
  return QCoreApplication::translate("TlsChannel", text).toStdString();
}

std::string in_players_language(const char* form, const std::string& reason) {
  return QCoreApplication::translate("TlsChannel", form).arg(QString::fromStdString(reason)).toStdString();
}

// What a player (or whoever helps them) can act on, for the failures a real server shows.
std::string certificate_problem(long code, const TlsLibrary& library) {
  switch (code) {
    case X509_V_ERR_CERT_HAS_EXPIRED:
      return in_players_language(QT_TRANSLATE_NOOP("TlsChannel", "certificate expired"));
    case X509_V_ERR_CERT_NOT_YET_VALID:
      return in_players_language(QT_TRANSLATE_NOOP("TlsChannel", "certificate not yet valid"));
    case X509_V_ERR_HOSTNAME_MISMATCH:
    case X509_V_ERR_IP_ADDRESS_MISMATCH:
      return in_players_language(QT_TRANSLATE_NOOP("TlsChannel", "host name mismatch"));
    case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
    case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
      return in_players_language(QT_TRANSLATE_NOOP("TlsChannel", "self-signed certificate"));
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
      return in_players_language(QT_TRANSLATE_NOOP("TlsChannel", "certificate from an unknown authority"));
    default:
      return library.X509_verify_cert_error_string(code);
  }
}

[[noreturn]] void refuse(const char* reason) {
  throw ETlsException(
      in_players_language(QT_TRANSLATE_NOOP("TlsChannel", "No secure connection: %1"), in_players_language(reason)));
}

bool is_address_literal(const std::string& host) {
  unsigned char bytes[sizeof(in6_addr)];
  return ::inet_pton(AF_INET, host.c_str(), bytes) == 1 || ::inet_pton(AF_INET6, host.c_str(), bytes) == 1;
}

// Without the library no server can be trusted; the player is told why, as for a certificate.
const TlsLibrary& library_or_refuse() {
  try {
    return tls_library();
  } catch (const EHttpException& missing) {
    throw ETlsException(missing.what());
  }
}

int piece_size(std::size_t size) { return static_cast<int>(std::min<std::size_t>(size, INT_MAX)); }

// The library writes to the socket with write(), which cannot be told MSG_NOSIGNAL. While it works
// SIGPIPE is held back on this thread, and one that its write raised is taken back: a server that
// drops the connection mid-write fails that request, never the whole program.
template <typename Call>
int with_sigpipe_held(Call call) {
  sigset_t pipe;
  sigemptyset(&pipe);
  sigaddset(&pipe, SIGPIPE);
  sigset_t pending;
  sigpending(&pending);
  const bool pending_before = sigismember(&pending, SIGPIPE) == 1;
  sigset_t before;
  pthread_sigmask(SIG_BLOCK, &pipe, &before);
  const int result = call();
  const int call_error = errno;
  if (!pending_before && sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE) == 1) {
    const timespec at_once{0, 0};
    sigtimedwait(&pipe, nullptr, &at_once);
  }
  pthread_sigmask(SIG_SETMASK, &before, nullptr);
  errno = call_error;
  return result;
}

}  // namespace

TlsChannel::TlsChannel(int fd, const std::string& host, HttpWaiter& waiter)
    : library_(library_or_refuse()),
      fd_(fd),
      waiter_(waiter),
      context_(library_.SSL_CTX_new(library_.TLS_client_method()), library_.SSL_CTX_free),
      session_(nullptr, library_.SSL_free) {
  const TlsLibrary& ssl = library_;
  if (context_ == nullptr) refuse(QT_TRANSLATE_NOOP("TlsChannel", "the TLS library cannot start"));
  ssl.SSL_CTX_ctrl(context_.get(), SSL_CTRL_SET_MIN_PROTO_VERSION, TLS1_2_VERSION, nullptr);
  // A body's end is told by its length where it has one, as over plain http.
  ssl.SSL_CTX_set_options(context_.get(), SSL_OP_IGNORE_UNEXPECTED_EOF);
  // Without a trust store every certificate fails its check, which is what should happen.
  ssl.SSL_CTX_set_default_verify_paths(context_.get());
  ssl.SSL_CTX_set_verify(context_.get(), SSL_VERIFY_PEER, nullptr);
  session_.reset(ssl.SSL_new(context_.get()));
  if (session_ == nullptr || ssl.SSL_set_fd(session_.get(), fd) != 1)
    refuse(QT_TRANSLATE_NOOP("TlsChannel", "the TLS library cannot start"));
  bool named = false;
  if (is_address_literal(host)) {
    named = ssl.X509_VERIFY_PARAM_set1_ip_asc(ssl.SSL_get0_param(session_.get()), host.c_str()) == 1;
  } else {
    named = ssl.SSL_ctrl(session_.get(), SSL_CTRL_SET_TLSEXT_HOSTNAME, TLSEXT_NAMETYPE_host_name,
                         const_cast<char*>(host.c_str())) == 1 &&
            ssl.SSL_set1_host(session_.get(), host.c_str()) == 1;
  }
  if (!named) refuse(QT_TRANSLATE_NOOP("TlsChannel", "the host name cannot be checked"));
  for (;;) {
    waiter_.tick();
    ssl.ERR_clear_error();
    const int result = with_sigpipe_held([&] { return ssl.SSL_connect(session_.get()); });
    if (result == 1) return;
    await_or_fail(result, Stage::handshake);
  }
}

void TlsChannel::send(std::string_view bytes) {
  while (!bytes.empty()) {
    waiter_.tick();
    library_.ERR_clear_error();
    // A write that must wait is asked again with the same bytes, as the library requires.
    const int sent =
        with_sigpipe_held([&] { return library_.SSL_write(session_.get(), bytes.data(), piece_size(bytes.size())); });
    if (sent > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(sent));
      waiter_.moved(static_cast<std::size_t>(sent));
    } else {
      await_or_fail(sent, Stage::transfer);
    }
  }
}

std::size_t TlsChannel::receive(char* buffer, std::size_t size) {
  for (;;) {
    waiter_.tick();
    library_.ERR_clear_error();
    // Reading may write too (a key update's answer).
    const int received = with_sigpipe_held([&] { return library_.SSL_read(session_.get(), buffer, piece_size(size)); });
    if (received > 0) {
      waiter_.moved(static_cast<std::size_t>(received));
      return static_cast<std::size_t>(received);
    }
    if (library_.SSL_get_error(session_.get(), received) == SSL_ERROR_ZERO_RETURN) return 0;
    await_or_fail(received, Stage::transfer);
  }
}

void TlsChannel::await_or_fail(int result, Stage stage) {
  const int error = library_.SSL_get_error(session_.get(), result);
  if (error == SSL_ERROR_WANT_READ) {
    waiter_.await(fd_, POLLIN);
    return;
  }
  if (error == SSL_ERROR_WANT_WRITE) {
    waiter_.await(fd_, POLLOUT);
    return;
  }
  const int system_error = errno;
  if (stage == Stage::handshake) {
    const long verdict = library_.SSL_get_verify_result(session_.get());
    if (verdict != X509_V_OK)
      throw ETlsException(
          in_players_language(QT_TRANSLATE_NOOP("TlsChannel", "The server's certificate does not hold: %1"),
                              certificate_problem(verdict, library_)));
  }
  std::string reason;
  if (const unsigned long code = library_.ERR_get_error(); code != 0) {
    const char* text = library_.ERR_reason_error_string(code);
    reason = text != nullptr ? text : "unknown TLS error";
  } else if (error == SSL_ERROR_SYSCALL && system_error != 0) {
    reason = system_reason(system_error);
  } else {
    reason = in_players_language(QT_TRANSLATE_NOOP("TlsChannel", "the connection was closed"));
  }
  if (stage == Stage::handshake)
    throw ETlsException(in_players_language(QT_TRANSLATE_NOOP("TlsChannel", "No secure connection: %1"), reason));
  throw EHttpException(kHttpFailureStatus, "Secure connection broken: " + reason);
}

}  // namespace velnor
