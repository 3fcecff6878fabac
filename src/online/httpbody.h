#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "httpreply.h"

// The body of one reply, framed as its header says: by a Content-Length, in
// chunks, or by the end of the connection. The bytes come from the network, so
// the framing is checked and the size bounded; anything else raises EHttpException.
namespace velnor {

// A body beyond the size its reader allows.
class EHttpBodyTooLarge : public EHttpException {
 public:
  EHttpBodyTooLarge() : EHttpException(kHttpFailureStatus, "Reply body too large") {}
};

class HttpBody {
 public:
  using Sink = std::function<void(std::string_view)>;

  // A body announced or grown beyond `max_size` bytes raises EHttpBodyTooLarge. A Content-Length
  // that cannot be read counts as none: the body runs to the end of the connection.
  HttpBody(const HttpReplyHeader& header, std::uint64_t max_size);

  // Takes received bytes and hands the body bytes among them to `sink`, without
  // the chunk framing. Bytes after the end of the body are dropped.
  void feed(std::string_view bytes, const Sink& sink);

  // The whole body is in, as its framing says.
  bool finished() const { return state_ == State::done; }
  // The framing, not the end of the connection, tells where the body ends.
  bool bounded() const { return framing_ != Framing::to_close; }
  std::uint64_t size() const { return size_; }

 private:
  enum class Framing { length, chunked, to_close };
  enum class State { data, chunk_size, chunk_end, trailer, done };

  void take(std::string_view& bytes, std::uint64_t count, const Sink& sink);
  // The next whole line of chunk framing into line_; false when it is unfinished.
  bool take_line(std::string_view& bytes);
  void take_chunk_size();

  std::uint64_t max_size_;
  Framing framing_ = Framing::to_close;
  State state_ = State::data;
  std::uint64_t remaining_ = 0;  // of the announced body, or of the current chunk
  std::uint64_t size_ = 0;
  std::string line_;
  std::size_t trailer_lines_ = 0;
};

}  // namespace velnor
