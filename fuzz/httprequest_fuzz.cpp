// Any bytes a client sends, read as the server reads a request head, and every header the server
// interprets (Accept-Encoding, If-None-Match, If-Modified-Since) read the way each reply reads it.
// A date that reads must read back the same after the server writes it.
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/http.hpp>

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "httpconventions.h"

namespace http = boost::beast::http;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  http::request_parser<http::empty_body> parser;
  parser.header_limit(16 * 1024);
  boost::beast::error_code error;
  parser.put(boost::asio::const_buffer(data, size), error);
  if (error || !parser.is_header_done()) return 0;
  const auto& request = parser.get();
  http_conventions::preferred_encoding(request[http::field::accept_encoding]);
  const std::string_view since = request[http::field::if_modified_since];
  if (const auto time = http_conventions::parse_http_date(since)) {
    if (http_conventions::parse_http_date(http_conventions::http_date(*time)) != time) __builtin_trap();
  }
  const std::string tag = http_conventions::content_tag(request.target());
  http_conventions::still_fresh(request[http::field::if_none_match], since, tag, 0);
  return 0;
}
