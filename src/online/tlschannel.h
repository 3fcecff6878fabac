#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "httpreply.h"

struct ssl_st;
struct ssl_ctx_st;

// One client's TLS over a connected non-blocking socket, for an https address: TLS 1.2 or newer,
// the server's certificate checked against the system's trust store and the host name, which is
// sent as the server name. There is no way to turn the check off.
namespace velnor {

class HttpWaiter;
struct TlsLibrary;

// The server could not be trusted: its certificate did not hold, it spoke no TLS, or there is no
// TLS library to check it with. The message says why in plain words.
class ETlsException : public EHttpException {
 public:
  explicit ETlsException(const std::string& reason) : EHttpException(kHttpFailureStatus, reason) {}
};

class TlsChannel {
 public:
  // Shakes hands with `host` on `fd`, waiting as `waiter` allows: its stall limit, deadline and
  // stop cover the handshake as they cover any other wait. Raises ETlsException when the server
  // cannot be trusted, EHttpException when the wait ends first.
  TlsChannel(int fd, const std::string& host, HttpWaiter& waiter);
  TlsChannel(const TlsChannel&) = delete;
  TlsChannel& operator=(const TlsChannel&) = delete;

  void send(std::string_view bytes);
  // Reads at most `size` bytes into `buffer`; 0 once the server has ended the connection.
  std::size_t receive(char* buffer, std::size_t size);

 private:
  enum class Stage { handshake, transfer };
  // After a call that returned `result`: waits for the socket as the library asks, or raises.
  void await_or_fail(int result, Stage stage);

  const TlsLibrary& library_;
  int fd_;
  HttpWaiter& waiter_;
  std::unique_ptr<ssl_ctx_st, void (*)(ssl_ctx_st*)> context_;
  std::unique_ptr<ssl_st, void (*)(ssl_st*)> session_;
};

}  // namespace velnor
