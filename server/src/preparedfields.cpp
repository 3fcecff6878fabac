#include "preparedfields.h"

#include <boost/beast/http/status.hpp>

#include <algorithm>
#include <iterator>

#include "httpconventions.h"

namespace http = boost::beast::http;

namespace {

constexpr std::string_view kLineEnd = "\r\n";

char digit(unsigned number) { return static_cast<char>('0' + number % 10); }

// Copies as much of `text` as fits between `out` and `end`.
char* put(std::string_view text, char* out, const char* end) {
  return std::copy_n(text.begin(), std::min(text.size(), static_cast<size_t>(end - out)), out);
}

}  // namespace

void PreparedFields::set_date(std::string_view date) {
  date_size_ = static_cast<size_t>(put(date, date_.begin(), date_.end()) - date_.begin());
}

bool PreparedFields::has_content_length_impl() const {
  return lines_ && lines_->find("Content-Length:") != std::string::npos;
}

PreparedFields::writer::writer(const PreparedFields& fields, unsigned version, unsigned status) {
  // As Beast writes a status line: "HTTP/x.y ### Reason".
  char start[] = "HTTP/1.1 200 ";
  start[5] = digit(version / 10);
  start[7] = digit(version);
  start[9] = digit(status / 100);
  start[10] = digit(status / 10);
  start[11] = digit(status);
  char* status_end = put({start, sizeof start - 1}, status_line_.begin(), status_line_.end() - kLineEnd.size());
  status_end =
      put(http::obsolete_reason(static_cast<http::status>(status)), status_end, status_line_.end() - kLineEnd.size());
  status_end = put(kLineEnd, status_end, status_line_.end());

  char* closing_end = closing_lines_.begin();
  if (fields.date_size_ > 0) {
    closing_end = put("Date: ", closing_end, closing_lines_.end());
    closing_end = put({fields.date_.data(), fields.date_size_}, closing_end, closing_lines_.end());
    closing_end = put(kLineEnd, closing_end, closing_lines_.end());
  }
  // HTTP/1.1 keeps a connection unless told; HTTP/1.0 closes it unless told.
  const bool keep_alive = fields.get_keep_alive_impl(version);
  if (version >= 11 && !keep_alive) closing_end = put("Connection: close\r\n", closing_end, closing_lines_.end());
  if (version < 11 && keep_alive) closing_end = put("Connection: keep-alive\r\n", closing_end, closing_lines_.end());
  if (fields.strict_transport_security_) {
    closing_end = put("Strict-Transport-Security: ", closing_end, closing_lines_.end());
    closing_end = put(http_conventions::kStrictTransportSecurity, closing_end, closing_lines_.end());
    closing_end = put(kLineEnd, closing_end, closing_lines_.end());
  }
  closing_end = put(kLineEnd, closing_end, closing_lines_.end());

  const std::string_view lines = fields.lines_ ? std::string_view(*fields.lines_) : std::string_view();
  buffers_ = {boost::asio::buffer(status_line_.data(), static_cast<size_t>(status_end - status_line_.data())),
              boost::asio::buffer(lines.data(), lines.size()),
              boost::asio::buffer(closing_lines_.data(), static_cast<size_t>(closing_end - closing_lines_.data()))};
}
