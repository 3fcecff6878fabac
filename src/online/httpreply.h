#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

// Reading what an HTTP server says: the address a request goes to (and where a
// redirection sends it next), and the status line and header of the reply.
// Every text here may come from the network, so each reader bounds what it keeps
// and turns anything it cannot use into EHttpException.
namespace velnor {

// A failed request: the message is the reason text, status() the status number.
// Failures the client detects itself (no connection, unknown host, a broken
// reply, an abort) carry 404, as a missing file would.
class EHttpException : public std::runtime_error {
 public:
  EHttpException(int status, const std::string& reason) : std::runtime_error(reason), status_(status) {}
  int status() const noexcept { return status_; }

 private:
  int status_;
};

inline constexpr int kHttpFailureStatus = 404;

// "<description> (Error #<number>)": the reason of a failure the system reported.
std::string system_reason(int error);

// ("http://" | "https://") [user [":" password] "@"] host [":" port] [path]
struct HttpAddress {
  static constexpr std::uint16_t kPlainPort = 80;
  static constexpr std::uint16_t kSecurePort = 443;

  bool secure = false;    // https: spoken over TLS, the server's certificate checked
  bool has_user = false;  // a user name is present (not empty)
  std::string user;
  std::string password;
  std::string host;  // without the brackets of an IPv6 literal
  std::uint16_t port = kPlainPort;
  std::string path = "/";

  // The host as the Host line names it (an IPv6 literal in brackets).
  std::string host_field() const;
};

// A missing scheme means "http://"; a scheme other than http and https, an empty host,
// a bad port or a control character anywhere raises EHttpException.
HttpAddress split_address(std::string_view url);

// Where a "location" header sends the next request: a location beginning with "/"
// keeps scheme, host, port and user; one beginning with "http://" or "https://" is a
// whole new address (user and password only from it); any other is relative to the
// folder of the current path. From https, a location on plain http raises: what was
// asked for in private must not be answered in the clear.
HttpAddress follow_location(const HttpAddress& from, std::string_view location);

// The status line and header of one reply, fed in pieces as they arrive.
// A reply whose first line begins with "<HTML>" has no header: all of it is body.
// Interim heads (status 1xx) are read past: the header is the final reply's.
class HttpReplyHeader {
 public:
  static constexpr std::size_t kMaxLineLength = 8192;
  static constexpr std::size_t kMaxLines = 100;
  static constexpr int kMaxInterimHeads = 10;

  // Takes the next received bytes. Once complete() is true, the bytes after the
  // header are in take_body_start() and nothing more is fed.
  void feed(std::string_view bytes);
  // The server closed the connection: a header still unfinished raises.
  void finish();

  bool complete() const { return complete_; }
  // The body bytes that arrived together with the header (once each).
  std::string take_body_start();

  int status() const { return status_; }
  const std::string& reason() const { return reason_; }
  const std::string& content_type() const { return content_type_; }
  const std::string& location() const { return location_; }
  // The announced body length; none without one or when it is unreadable.
  const std::optional<std::uint64_t>& content_length() const { return content_length_; }
  // A Content-Length line was there, readable or not.
  bool has_content_length_line() const { return content_length_ || content_length_unreadable_; }
  bool content_length_unreadable() const { return content_length_unreadable_; }
  // The transfer codings, in lower case ("chunked"); empty without any.
  const std::string& transfer_encoding() const { return transfer_encoding_; }

 private:
  enum class Start { undecided, status_line, headerless };

  void decide_start();
  // Reads the whole lines in pending_ until the header is complete or a line is unfinished.
  void take_lines();
  void take_line(std::string_view line);
  void start_over();
  void take_status_line(std::string_view line);
  void take_field(std::string_view line);

  std::string pending_;      // received bytes not yet taken as whole lines
  std::size_t scanned_ = 0;  // no line end in pending_ before this
  std::size_t lines_ = 0;
  int interim_heads_ = 0;
  Start start_ = Start::undecided;
  bool complete_ = false;

  int status_ = 0;
  std::string reason_;
  std::string content_type_;
  std::string location_;
  std::optional<std::uint64_t> content_length_;
  bool content_length_unreadable_ = false;
  std::string transfer_encoding_;
};

}  // namespace velnor
