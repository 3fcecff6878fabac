#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

// The parts of HTTP that every request and reply follows whatever it carries: the form of a request
// head, dates, validators and the choice of a compressed form. Plain functions over header text, so
// that any bytes a client sends can be tried on them.
namespace http_conventions {

// An HTTP date (RFC 9110's IMF-fixdate), as in Date and Last-Modified.
std::string http_date(std::time_t time);
// The time an IMF-fixdate names; nothing for any other text (the obsolete forms are not taken, so a
// client that sends one just gets the whole reply).
std::optional<std::time_t> parse_http_date(std::string_view text);

// A strong validator for bytes: the same bytes give the same tag on every server and every run.
std::string content_tag(std::string_view bytes);

// Whether a client holding a representation tagged `etag` and modified at `modified` may be told
// 304 Not Modified. If-None-Match, when sent, decides alone (weak comparison, "*" matches);
// If-Modified-Since counts only without it, and only when it names a time no later than `now` (a
// date in the future is no date the client can have seen).
bool still_fresh(std::string_view if_none_match, std::string_view if_modified_since, std::string_view etag,
                 std::time_t modified, std::time_t now);

// How many bytes at the start of `bytes` are empty lines (CRLF) sent ahead of a request line,
// which a server ignores (RFC 9112, section 2.2).
size_t leading_empty_lines(std::string_view bytes);

// Whether header lines continue on a line of their own that starts with a space or a tab (the
// obsolete line folding). Such a head is refused rather than read: a folded Content-Length, say,
// would frame the message otherwise for the server than for whatever passed it on.
bool folds_a_line(std::string_view head);

// Whether a request's Host lines are as HTTP requires (RFC 9112, section 3.2): exactly one in an
// HTTP/1.1 request, at most one in HTTP/1.0, naming a host with an optional port (`version` as
// 10 or 11, `host` the first line's value).
bool host_lines_valid(unsigned version, size_t host_lines, std::string_view host);

// Strict-Transport-Security on every reply over TLS: a year, renewed by each visit.
inline constexpr std::string_view kStrictTransportSecurity = "max-age=31536000";

enum class Encoding { kIdentity, kGzip, kBrotli };

// The compressed form that an Accept-Encoding header welcomes most, Brotli before gzip when both are
// equal; a coding given q=0 (by name or by "*") is never chosen.
Encoding preferred_encoding(std::string_view accept_encoding);

// What Content-Encoding says for the form, and what is added to an ETag for it (each form of a
// representation needs a tag of its own).
std::string_view encoding_name(Encoding encoding);

}  // namespace http_conventions
