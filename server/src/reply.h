#pragma once

#include <boost/beast/http.hpp>

#include <cstdint>
#include <memory>
#include <string>
#include <variant>

#include "preparedfields.h"

namespace http = boost::beast::http;

// A body of bytes shared by every reply that sends them (the cached page goes out to many clients
// at once without a copy each).
struct SharedTextBody {
  using value_type = std::shared_ptr<const std::string>;

  static std::uint64_t size(const value_type& body) { return body ? body->size() : 0; }

  class writer {
   public:
    using const_buffers_type = boost::asio::const_buffer;

    template <bool isRequest, class Fields>
    writer(const http::header<isRequest, Fields>&, const value_type& body) : body_(body) {}

    void init(boost::system::error_code& error) { error = {}; }

    boost::optional<std::pair<const_buffers_type, bool>> get(boost::system::error_code& error) {
      error = {};
      if (!body_ || body_->empty()) return boost::none;
      return std::make_pair(const_buffers_type(body_->data(), body_->size()), false);
    }

   private:
    const value_type& body_;
  };
};

using TextReply = http::response<SharedTextBody>;
using FileReply = http::response<http::file_body>;
// The head of a reply without its body: for HEAD, 304 and the like.
using HeadReply = http::response<http::empty_body>;
// A reply whose header lines were made once for many clients (the cached page): sent as they are,
// with only the status line, Date and Connection added.
using PreparedReply = http::response<SharedTextBody, PreparedFields>;
using Reply = std::variant<TextReply, FileReply, HeadReply, PreparedReply>;

// A reply of `status` with a short text for a person to read.
TextReply text_reply(http::status status, std::string text);
