#include "httpconnection.h"

#include <boost/asio/execution/outstanding_work.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/prefer.hpp>
#include <boost/beast/core/read_size.hpp>
#include <boost/beast/http.hpp>

#include <ctime>
#include <iostream>
#include <string_view>
#include <variant>

#include "httpconventions.h"

namespace asio = boost::asio;
namespace beast = boost::beast;

namespace {

constexpr std::chrono::milliseconds kDrainLimit{2000};
constexpr size_t kDrainBytes = 64 * 1024;
constexpr size_t kDrainPiece = 4096;
constexpr size_t kIdleBuffer = 512;  // enough for most requests' heads
constexpr size_t kHeadPiece = 64 * 1024;

// The Date header, made once a second on each thread.
const std::string& date_now() {
  thread_local std::time_t made_at = -1;
  thread_local std::string date;
  const std::time_t now = std::time(nullptr);
  if (now != made_at) {
    date = http_conventions::http_date(now);
    made_at = now;
  }
  return date;
}

// Every reply carries the date it was sent.
void stamp_date(http::fields& fields) { fields.set(http::field::date, date_now()); }
void stamp_date(PreparedFields& fields) { fields.set_date(date_now()); }

// Every reply over TLS tells the browser to come back over TLS only.
void stamp_strict_transport(http::fields& fields) {
  fields.set(http::field::strict_transport_security, http_conventions::kStrictTransportSecurity);
}
void stamp_strict_transport(PreparedFields& fields) { fields.set_strict_transport_security(); }

bool announces_body(const http::request_parser<http::empty_body>& parser) {
  const auto& request = parser.get();
  if (request.find(http::field::transfer_encoding) != request.end()) return true;
  const auto length = parser.content_length();
  return length && *length != 0;
}

}  // namespace

HttpConnection::HttpConnection(asio::ip::tcp::socket socket, std::string peer, ServerShared& shared, ConnectionSet& set)
    : tls_context_(shared.tls ? shared.tls->current() : nullptr),
      stream_(tls_context_ ? decltype(stream_)(std::in_place_type<TlsStream>, std::move(socket), *tls_context_)
                           : decltype(stream_)(std::move(socket))),
      buffer_(shared.limits.max_head_bytes + 1024),
      peer_(std::move(peer)),
      shared_(shared),
      set_(set) {
  set_.insert(this);
  ++shared_.live;
}

HttpConnection::~HttpConnection() {
  set_.erase(this);
  if (admitted_) shared_.counts.leave(peer_);
  --shared_.live;
}

asio::ip::tcp::socket& HttpConnection::socket() {
  return std::visit([](auto& stream) -> asio::ip::tcp::socket& { return beast::get_lowest_layer(stream); }, stream_);
}

template <class Operation>
void HttpConnection::through_stream(Operation&& operation) {
  std::visit(std::forward<Operation>(operation), stream_);
}

void HttpConnection::start() {
  admitted_ = true;
  if (auto* tls = std::get_if<TlsStream>(&stream_)) return handshake(*tls);
  wait_for_request();
}

// The handshake is held to the head's deadline: a client that opens a connection and never finishes
// its handshake holds its place no longer than one that never finishes its head.
void HttpConnection::handshake(TlsStream& tls) {
  step_ = Step::kHandshaking;
  arm(shared_.limits.head_deadline);
  tls.async_handshake(asio::ssl::stream_base::server, [self = shared_from_this()](beast::error_code error) {
    if (self->step_ != Step::kHandshaking) return;
    if (error) return self->close_now();
    self->wait_for_request();
  });
}

void HttpConnection::turn_away() { refuse(http::status::service_unavailable, "Server busy; try again shortly.\n"); }

void HttpConnection::stop() {
  if (step_ == Step::kIdle || step_ == Step::kHandshaking) close_now();
  // Any other step ends after its reply: keep_alive_ is dropped once the reply is sent.
}

void HttpConnection::end_now() {
  if (step_ == Step::kEnded) return;
  reset();
}

// Between requests a connection holds its socket and a small buffer for the next request, which is
// read as soon as it comes (a read costs the kernel less than a wait armed anew for every request).
void HttpConnection::wait_for_request() {
  if (shared_.stopping) return close_gracefully();
  if (buffer_.size() > 0) {  // the next request came with the last
    read_head();
    return;
  }
  step_ = Step::kIdle;
  if (buffer_.capacity() > kIdleBuffer) buffer_.shrink_to_fit();
  arm(shared_.limits.idle);
  through_stream([&](auto& stream) {
    stream.async_read_some(buffer_.prepare(kIdleBuffer),
                           [self = shared_from_this()](beast::error_code error, size_t got) {
                             if (self->step_ != Step::kIdle) return;
                             if (error) return self->close_now();
                             self->buffer_.commit(got);
                             self->read_head();
                           });
  });
}

void HttpConnection::read_head() {
  step_ = Step::kReadingHead;
  parser_.emplace();
  parser_->header_limit(static_cast<uint32_t>(shared_.limits.max_head_bytes));
  head_folded_ = false;
  arm(shared_.limits.head_deadline);
  parse_head();
}

// The parser takes a head a line at a time as it comes, each header line together with the lines
// folded into it, so each piece that it takes is looked at for folding on its own.
void HttpConnection::parse_head() {
  const auto buffered = [this] {
    return std::string_view(static_cast<const char*>(buffer_.data().data()), buffer_.size());
  };
  // A lone CR ahead of the request line may yet be an empty line.
  const bool before_request_line = !parser_->got_some();
  if (before_request_line) buffer_.consume(http_conventions::leading_empty_lines(buffered()));
  if (buffer_.size() > 0 && !(before_request_line && buffered() == "\r")) {
    beast::error_code error;
    const size_t used = parser_->put(buffer_.data(), error);
    head_folded_ = head_folded_ || http_conventions::folds_a_line(buffered().substr(0, used));
    buffer_.consume(used);
    if (error != http::error::need_more) return on_head(error);
  }
  if (buffer_.size() >= buffer_.max_size()) return on_head(http::error::buffer_overflow);
  through_stream([&](auto& stream) {
    stream.async_read_some(buffer_.prepare(beast::read_size(buffer_, kHeadPiece)),
                           [self = shared_from_this()](beast::error_code error, size_t got) {
                             if (self->step_ != Step::kReadingHead) return;
                             if (error) return self->on_head(error);
                             self->buffer_.commit(got);
                             self->parse_head();
                           });
  });
}

void HttpConnection::on_head(beast::error_code error) {
  if (step_ != Step::kReadingHead) return;
  if (error) {
    const bool started = buffer_.size() > 0 || parser_->got_some();
    if (timed_out_) {
      // An idle connection just ends; one that began a request is told why.
      if (started) return refuse(http::status::request_timeout, "Request took too long\n");
    } else if (error == http::error::header_limit || error == http::error::buffer_overflow) {
      return refuse(http::status::request_header_fields_too_large, "Request too large\n");
    } else if (error != http::error::end_of_stream && error != http::error::partial_message &&
               error.category() == http::make_error_code(http::error::bad_method).category()) {
      return refuse(http::status::bad_request, "Bad request\n");
    }
    return close_now();
  }
  if (!head_valid()) return refuse(http::status::bad_request, "Bad request\n");
  // The body would be read as the next request: nothing here takes one, so the connection ends.
  if (announces_body(*parser_)) return refuse(http::status::payload_too_large, "No request here takes a body\n");
  answer();
}

bool HttpConnection::head_valid() const {
  const auto& request = parser_->get();
  return !head_folded_ && http_conventions::host_lines_valid(request.version(), request.count(http::field::host),
                                                             request[http::field::host]);
}

void HttpConnection::answer() {
  step_ = Step::kAnswering;
  disarm();
  const auto& request = parser_->get();
  client_ = shared_.routes.client_address(request, peer_);
  logged_method_.assign(request.method_string());
  logged_target_.assign(request.target());
  exchange_ = AccessLog::Exchange{logged_method_, logged_target_, request.version(), 0, 0};
  ++served_;
  keep_alive_ = request.keep_alive() && served_ < shared_.limits.keep_alive_max_requests;
  auto routed = [&]() -> std::variant<Reply, StoreRequest> {
    try {
      return shared_.routes.route(request, client_);
    } catch (const std::exception& e) {
      std::cerr << "velnor-server: " << logged_target_ << ": " << e.what() << '\n';
      return text_reply(http::status::internal_server_error, "Server error\n");
    }
  }();
  if (auto* store_request = std::get_if<StoreRequest>(&routed)) return ask_the_store(std::move(*store_request));
  respond(std::get<Reply>(std::move(routed)));
}

void HttpConnection::ask_the_store(StoreRequest request) {
  // All that a worker holds of the connection is the way back to its thread: it can hand the reply
  // over, and read nothing. The last hold on the connection is let go on that thread too.
  auto hand_back = [self = shared_from_this(),
                    work = asio::prefer(socket().get_executor(), asio::execution::outstanding_work.tracked)](
                       Reply reply) mutable {
    asio::post(work, [self = std::move(self), reply = std::move(reply)]() mutable { self->respond(std::move(reply)); });
  };
  shared_.store_work.enqueue(
      [&routes = shared_.routes, request = std::move(request), hand_back = std::move(hand_back)]() mutable {
        Reply reply;
        try {
          reply = routes.answer(request);
        } catch (const std::exception& e) {
          std::cerr << "velnor-server: " << request.target << ": " << e.what() << '\n';
          reply = text_reply(http::status::internal_server_error, "Server error\n");
        }
        hand_back(std::move(reply));
      });
}

void HttpConnection::respond(Reply reply) {
  if (step_ != Step::kAnswering) return;  // ended meanwhile
  if (shared_.stopping) keep_alive_ = false;
  std::visit([this](auto& answer) { deliver(std::move(answer)); }, reply);
}

template <class Body, class Fields>
void HttpConnection::deliver(http::response<Body, Fields>&& reply) {
  const bool head = parser_->get().method() == http::verb::head;
  reply.version(parser_->get().version());
  stamp_date(reply);
  reply.keep_alive(keep_alive_);
  if (tls_context_) stamp_strict_transport(reply);
  exchange_.status = static_cast<int>(reply.result_int());
  exchange_.body_bytes = head ? 0 : reply.payload_size().value_or(0);
  // HEAD gets exactly the header that GET would, Content-Length included, and no body.
  if (head && !std::is_same_v<Body, http::empty_body>)
    return send(http::response<http::empty_body, Fields>(std::move(reply.base())));
  send(std::move(reply));
}

template <class Body, class Fields>
struct HttpConnection::Outgoing {
  explicit Outgoing(http::response<Body, Fields>&& reply) : message(std::move(reply)) {}
  http::response<Body, Fields> message;
  http::response_serializer<Body, Fields> serializer{message};
};

template <class Body, class Fields>
void HttpConnection::send(http::response<Body, Fields>&& response) {
  step_ = Step::kWriting;
  write_more(std::make_shared<Outgoing<Body, Fields>>(std::move(response)));
}

// Writes as much as the client takes; each piece taken gives the client a new stall limit. The
// serializer's pieces go straight to the socket: a write that the kernel takes at once costs no
// second trip through the thread's queue.
template <class Body, class Fields>
void HttpConnection::write_more(std::shared_ptr<Outgoing<Body, Fields>> outgoing) {
  arm(shared_.limits.write_stall);
  beast::error_code error;
  auto& serializer = outgoing->serializer;
  serializer.next(error, [&](beast::error_code&, const auto& pieces) {
    auto on_written = [self = shared_from_this(), outgoing = std::move(outgoing)](beast::error_code error,
                                                                                  size_t sent) {
      if (self->step_ != Step::kWriting && self->step_ != Step::kClosing) return;
      if (error) return self->reset();
      outgoing->serializer.consume(sent);
      if (!outgoing->serializer.is_done()) return self->write_more(outgoing);
      self->on_sent();
    };
    through_stream([&](auto& stream) { stream.async_write_some(pieces, std::move(on_written)); });
  });
  if (error) reset();  // a file that could not be read
}

void HttpConnection::on_sent() {
  disarm();
  if (step_ == Step::kClosing) return close_gracefully();  // a refusal, logged as it was made
  if (shared_.access_log) shared_.access_log->record(client_, exchange_);
  parser_.reset();
  if (!keep_alive_ || shared_.stopping) return close_gracefully();
  wait_for_request();
}

void HttpConnection::refuse(http::status status, std::string text) {
  if (shared_.access_log) shared_.access_log->record_refusal(peer_, static_cast<int>(status));
  TextReply reply = text_reply(status, std::move(text));
  stamp_date(reply);
  if (tls_context_) stamp_strict_transport(reply);
  if (status == http::status::service_unavailable) reply.set(http::field::retry_after, "1");
  reply.keep_alive(false);
  parser_.reset();
  send(std::move(reply));
  // Sent like any reply, but it is not a request's and is not logged again.
  step_ = Step::kClosing;
}

void HttpConnection::close_gracefully() {
  step_ = Step::kEnded;
  arm(kDrainLimit);
  auto* tls = std::get_if<TlsStream>(&stream_);
  if (!tls) return end_sending();
  // The peer's own close_notify, or whatever it sends instead, ends the wait; the drain's deadline
  // ends a peer that sends nothing.
  tls->async_shutdown([self = shared_from_this()](beast::error_code) {
    if (self->socket().is_open()) self->end_sending();
  });
}

void HttpConnection::end_sending() {
  beast::error_code ignored;
  socket().shutdown(asio::ip::tcp::socket::shutdown_send, ignored);
  buffer_.clear();
  drain_input(0);
}

void HttpConnection::drain_input(size_t drained) {
  if (drained >= kDrainBytes) return reset();
  // The bytes are dropped unread, so they are taken from beneath any TLS.
  socket().async_read_some(buffer_.prepare(kDrainPiece),
                           [self = shared_from_this(), drained](beast::error_code error, size_t got) {
                             if (!self->socket().is_open()) return;
                             if (error) return self->close_now();
                             self->buffer_.clear();
                             self->drain_input(drained + got);
                           });
}

void HttpConnection::close_now() {
  step_ = Step::kEnded;
  disarm();
  beast::error_code ignored;
  socket().close(ignored);
}

void HttpConnection::reset() {
  step_ = Step::kEnded;
  disarm();
  beast::error_code ignored;
  socket().set_option(asio::socket_base::linger(true, 0), ignored);
  socket().close(ignored);
}

void HttpConnection::arm(std::chrono::milliseconds limit) {
  timed_out_ = false;
  deadline_ = std::chrono::steady_clock::now() + limit;
}

void HttpConnection::disarm() { deadline_ = std::chrono::steady_clock::time_point::max(); }

void HttpConnection::check_deadline(std::chrono::steady_clock::time_point now) {
  if (now < deadline_) return;
  disarm();
  on_deadline();
}

void HttpConnection::on_deadline() {
  timed_out_ = true;
  switch (step_) {
    case Step::kHandshaking:
    case Step::kIdle:
      close_now();
      break;
    case Step::kReadingHead: {
      // The pending read ends with an error, and its handler tells the client why.
      beast::error_code ignored;
      socket().cancel(ignored);
      break;
    }
    case Step::kWriting:
    case Step::kClosing:
    case Step::kEnded:
      reset();
      break;
    case Step::kAnswering:
      break;
  }
}
