#pragma once

#include <boost/asio/buffer.hpp>
#include <boost/optional/optional.hpp>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// The header of a reply whose lines were made once for many clients (the cached page), in the form
// Beast's serializer writes a header in: the status line, the lines made beforehand, and this
// reply's own Date, Connection and (over TLS) Strict-Transport-Security lines. The lines made
// beforehand go out as they are, never parsed into fields again, and nothing is allocated for the
// rest: that is what makes the page cheap to send.
class PreparedFields {
 public:
  PreparedFields() = default;
  // `lines`, each ending in CRLF, are shared by every reply that sends them.
  explicit PreparedFields(std::shared_ptr<const std::string> lines) : lines_(std::move(lines)) {}

  // An HTTP date (29 characters).
  void set_date(std::string_view date);
  void set_strict_transport_security() { strict_transport_security_ = true; }

  class writer;

  // What Beast's messages ask of their fields. The length, framing and the rest of the reply are
  // in the prepared lines and cannot change: the calls that would change them, and those of a
  // request, are declared for Beast's type check only and fail to link if ever made.
  std::string_view get_reason_impl() const { return {}; }  // the status's own
  bool get_chunked_impl() const { return false; }
  bool get_keep_alive_impl(unsigned version) const { return keep_alive_.value_or(version >= 11); }
  void set_keep_alive_impl(unsigned, bool keep_alive) { keep_alive_ = keep_alive; }
  bool has_content_length_impl() const;
  std::string_view get_method_impl() const;
  std::string_view get_target_impl() const;
  void set_method_impl(std::string_view);
  void set_target_impl(std::string_view);
  void set_reason_impl(std::string_view);
  void set_chunked_impl(bool);
  void set_content_length_impl(const boost::optional<std::uint64_t>&);

 private:
  std::shared_ptr<const std::string> lines_;
  std::array<char, 29> date_{};
  size_t date_size_ = 0;            // none: no Date line
  std::optional<bool> keep_alive_;  // none: as the version has it
  bool strict_transport_security_ = false;
};

class PreparedFields::writer {
 public:
  using const_buffers_type = std::array<boost::asio::const_buffer, 3>;

  writer(const PreparedFields& fields, unsigned version, unsigned status);
  // Its buffers point into it: it stays where the serializer made it.
  writer(const writer&) = delete;
  writer& operator=(const writer&) = delete;
  const_buffers_type get() const { return buffers_; }

 private:
  std::array<char, 48> status_line_;     // "HTTP/1.1 200 OK\r\n": the longest reason is 31 characters
  std::array<char, 112> closing_lines_;  // Date, Connection, Strict-Transport-Security and the blank line
  const_buffers_type buffers_;
};
