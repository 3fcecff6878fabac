// Any bytes a client sends, read as the server reads a request head (empty lines ahead of it
// skipped, folded lines and Host lines checked), and every header the server interprets
// (Accept-Encoding, If-None-Match, If-Modified-Since) read the way each reply reads it.
// A date that reads must read back the same after the server writes it.
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/http.hpp>

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "httpconventions.h"

namespace http = boost::beast::http;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const size_t skipped = http_conventions::leading_empty_lines(bytes);
  if (skipped > size || skipped % 2 != 0) __builtin_trap();
  http::request_parser<http::empty_body> parser;
  parser.header_limit(16 * 1024);
  boost::beast::error_code error;
  const size_t used = parser.put(boost::asio::const_buffer(data + skipped, size - skipped), error);
  if (error || !parser.is_header_done()) return 0;
  http_conventions::folds_a_line(bytes.substr(skipped, used));
  const auto& request = parser.get();
  http_conventions::host_lines_valid(request.version(), request.count(http::field::host), request[http::field::host]);
  http_conventions::preferred_encoding(request[http::field::accept_encoding]);
  const std::string_view since = request[http::field::if_modified_since];
  if (const auto time = http_conventions::parse_http_date(since)) {
    if (http_conventions::parse_http_date(http_conventions::http_date(*time)) != time) __builtin_trap();
  }
  const std::string tag = http_conventions::content_tag(request.target());
  http_conventions::still_fresh(request[http::field::if_none_match], since, tag, 0, 1'800'000'000);
  return 0;
}
