#include "thttpcli.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <stdexcept>

#include "httpbody.h"

namespace velnor {

namespace {

constexpr std::size_t kReceiveSize = 256 * 1024;

[[noreturn]] void fail(const std::string& reason) { throw EHttpException(kHttpFailureStatus, reason); }

std::string request_text(const HttpAddress& address, const std::string& accept, const std::string& agent) {
  std::string text = "GET " + address.path + " HTTP/1.0\r\n";
  text += "Accept: " + accept + "\r\n";
  text += "User-Agent: " + agent + "\r\n";
  text += "Host: " + address.host_field() + "\r\n";
  if (address.has_user) text += "Authorization: Basic " + base64(address.user + ":" + address.password) + "\r\n";
  text += "\r\n";
  return text;
}

}  // namespace

THttpCli::THttpCli() : wake_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
  if (wake_.get() < 0) wake_error_ = errno;
}

void THttpCli::cancel() {
  cancelled_ = true;
  const std::uint64_t one = 1;
  [[maybe_unused]] const auto written = ::write(wake_.get(), &one, sizeof one);
}

void THttpCli::GetSync() {
  if (busy_.exchange(true)) throw EHttpException(0, "HTTP component is busy");
  struct Release {
    std::atomic<bool>& busy;
    ~Release() { busy = false; }
  } release{busy_};

  status_ = 0;
  reason_.clear();
  content_type_.clear();
  try {
    run_request();
  } catch (const EHttpException& failure) {
    status_ = failure.status();
    reason_ = failure.what();
    throw;
  }
  if (status_ >= 400) throw EHttpException(status_, reason_);
}

void THttpCli::run_request() {
  if (wake_.get() < 0) fail(system_reason(wake_error_));
  HttpWaiter waiter([this] { return cancelled_.load(); }, stall_limit, HttpWaiter::Clock::time_point::max(),
                    wake_.get(), least_rate);
  HttpAddress address = split_address(URL);
  const HttpBody::Sink write = [this](std::string_view bytes) {
    if (BodyStream == nullptr || bytes.empty()) return;
    BodyStream->write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!*BodyStream) throw std::runtime_error("Cannot write the received data");
  };
  for (int redirections = 0;; ++redirections) {
    HttpConnection connection(address, request_text(address, Accept, Agent), waiter, kReceiveSize);
    HttpReplyHeader header;
    connection.read_header(header);
    status_ = header.status();
    reason_ = header.reason();
    content_type_ = header.content_type();
    // A file whose length cannot be told is no file to install.
    if (header.content_length_unreadable()) fail("Invalid Content-Length");

    if (!header.location().empty()) {
      if (redirections == kMaxRedirections) fail("Too many redirections");
      address = follow_location(address, header.location());
      continue;
    }

    HttpBody body(header, max_body);
    body.feed(header.take_body_start(), write);
    // An error reply's body is not waited for; what came with the header is kept.
    if (status_ >= 400) return;
    while (!body.finished()) {
      const HttpConnection::Outcome outcome = connection.receive();
      if (outcome == HttpConnection::Outcome::data) {
        body.feed(connection.data(), write);
        continue;
      }
      // Without a length the end of the connection is the end of the body.
      if (!body.bounded()) return;
      if (outcome == HttpConnection::Outcome::broken) fail(system_reason(connection.error()));
      fail("Connection closed during the reply body");
    }
    return;
  }
}

}  // namespace velnor
