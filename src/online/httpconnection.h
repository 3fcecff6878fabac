#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/filedescriptor.h"
#include "httpreply.h"
#include "httpwaiter.h"

// One HTTP exchange on a non-blocking socket: resolve the host, connect (over TLS
// for an https address), send the request, read the reply's header and then its
// bytes. Both the download client and the URL text fetcher talk to servers through
// it, each on a worker thread of its own.
namespace velnor {

class TlsChannel;

std::string base64(std::string_view bytes);

class HttpConnection {
 public:
  enum class Outcome { data, closed, broken };

  // Resolves the host, connects to it and sends `request`; raises EHttpException
  // when it cannot. Each receive() reads at most `read_size` bytes. Through a
  // `proxy`, a plain request goes to the proxy as it is (its request line names the
  // whole address), and an https one through a tunnel that the proxy is asked to
  // open (CONNECT), so that the proxy sees nothing of it.
  HttpConnection(const HttpAddress& to, std::string_view request, HttpWaiter& waiter, std::size_t read_size,
                 const HttpAddress* proxy = nullptr);
  ~HttpConnection();

  // Reads until the reply's header is complete; the bytes after it are in
  // header.take_body_start().
  void read_header(HttpReplyHeader& header);

  // Waits for the next received bytes, which data() then holds.
  Outcome receive();
  std::string_view data() const { return data_; }
  // The socket error of a broken connection.
  int error() const { return error_; }

 private:
  void open_tunnel(const HttpAddress& to, const HttpAddress& proxy);

  HttpWaiter& waiter_;
  FileDescriptor socket_;
  std::unique_ptr<TlsChannel> tls_;
  std::vector<char> buffer_;
  std::string_view data_;
  int error_ = 0;
};

}  // namespace velnor
