#pragma once

#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/ssl/ssl_stream.hpp>

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <variant>

#include "accesslog.h"
#include "connectioncounts.h"
#include "reply.h"
#include "routes.h"
#include "tlscertificate.h"
#include "workerpool.h"

struct HttpLimits {
  size_t max_head_bytes = 16 * 1024;  // request line and headers together
  size_t keep_alive_max_requests = 10000;
  std::chrono::milliseconds idle{60000};          // for the first byte of the next request
  std::chrono::milliseconds head_deadline{5000};  // from a request's first byte to its last, and for a handshake
  std::chrono::milliseconds write_stall{30000};   // a reader that takes nothing for this long is cut off
};

// What every connection of one server shares.
struct ServerShared {
  HttpLimits limits;
  Routes& routes;
  WorkerPool& store_work;  // answers that wait for the store run here, never on a connection's thread
  AccessLog* access_log;   // none: no log
  ConnectionCounts& counts;
  const TlsCertificate* tls;  // none: plain HTTP
  std::atomic<bool> stopping{false};
  std::atomic<size_t> live{0};  // connection objects, refused ones too, until their sockets are closed
};

class HttpConnection;
// The connections served by one I/O thread, touched only from that thread.
using ConnectionSet = std::unordered_set<HttpConnection*>;

// One client's connection, from its first byte to its end, on one I/O thread: over TLS it has its
// handshake first, with the head's deadline; then it waits for a request, reads its head against a deadline, has it
// answered (by the store's workers when it needs the store), writes the reply while the client takes it, and then waits
// for the next one. A single deadline ends whatever step outstays its limit.
class HttpConnection : public std::enable_shared_from_this<HttpConnection> {
 public:
  HttpConnection(boost::asio::ip::tcp::socket socket, std::string peer, ServerShared& shared, ConnectionSet& set);
  ~HttpConnection();
  HttpConnection(const HttpConnection&) = delete;
  HttpConnection& operator=(const HttpConnection&) = delete;

  // Serves a connection that the counts admitted.
  void start();
  // Tells a connection the counts did not admit to come back later, and ends it.
  void turn_away();
  // The server stops: ends the connection if it waits for a request, else after its reply.
  void stop();
  // The server's time to stop is up: ends the connection whatever it is doing.
  void end_now();
  // Ends whatever step has outstayed its limit. The server calls it a few times a second for each
  // connection: one sweep costs less than a timer set and cleared at every step of every request.
  void check_deadline(std::chrono::steady_clock::time_point now);

 private:
  enum class Step { kHandshaking, kIdle, kReadingHead, kAnswering, kWriting, kClosing, kEnded };
  using TlsStream = boost::beast::ssl_stream<boost::asio::ip::tcp::socket>;

  // The TCP connection beneath the stream.
  boost::asio::ip::tcp::socket& socket();
  // Runs `operation` on the stream the connection speaks through, plain or TLS.
  template <class Operation>
  void through_stream(Operation&& operation);
  void handshake(TlsStream& tls);
  void wait_for_request();
  void read_head();
  // Hands the parser what has come of the head, and reads more until the head is whole.
  void parse_head();
  void on_head(boost::beast::error_code error);
  // Whether the head just read is one that HTTP lets a server take: no line folded into another,
  // and Host lines as they must be.
  bool head_valid() const;
  void answer();
  // Has the store's workers make the reply, from a copy of the request; the reply comes back to
  // this connection's thread.
  void ask_the_store(StoreRequest request);
  void respond(Reply reply);
  // Sends a reply with the Date, Connection and version that this request calls for.
  template <class Body, class Fields>
  void deliver(http::response<Body, Fields>&& reply);
  // Every reply leaves through these two: Beast's serializer writes it as the client takes it.
  template <class Body, class Fields>
  struct Outgoing;
  template <class Body, class Fields>
  void send(http::response<Body, Fields>&& response);
  template <class Body, class Fields>
  void write_more(std::shared_ptr<Outgoing<Body, Fields>> outgoing);
  void on_sent();
  // A reply of the server's own before a request could be read; the connection ends after it.
  void refuse(http::status status, std::string text);
  void arm(std::chrono::milliseconds limit);
  void disarm();
  void on_deadline();
  // Ends after the reply (over TLS, once the peer is told the end is meant): no more is sent, and what the client still
  // sends is read and dropped for a moment, so that the reply is not lost to a reset.
  void close_gracefully();
  void end_sending();
  void drain_input(size_t drained);
  // Ends at once, quietly: the client was idle or is gone.
  void close_now();
  // Ends at once, with a reset: for a client that stopped reading (a cut-off file must never look whole).
  void reset();

  std::shared_ptr<boost::asio::ssl::context> tls_context_;  // the one this connection's handshake used
  std::variant<boost::asio::ip::tcp::socket, TlsStream> stream_;
  std::chrono::steady_clock::time_point deadline_ = std::chrono::steady_clock::time_point::max();
  boost::beast::flat_buffer buffer_;
  std::optional<http::request_parser<http::empty_body>> parser_;
  bool head_folded_ = false;  // a line of the head read so far continues the one before it
  const std::string peer_;
  std::string client_;
  ServerShared& shared_;
  ConnectionSet& set_;
  Step step_ = Step::kIdle;
  bool admitted_ = false;
  bool timed_out_ = false;
  bool keep_alive_ = true;
  size_t served_ = 0;
  AccessLog::Exchange exchange_{};
  std::string logged_method_;
  std::string logged_target_;
};
