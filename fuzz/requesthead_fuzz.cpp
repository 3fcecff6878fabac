// A connection's bytes, arriving in pieces of any size, must be cut into request heads exactly:
// each head ends at its first blank line, stays within the limit, and is read back byte for byte,
// with what follows kept for the next request.
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "connectionstream.h"
#include "requesthead.h"

namespace {

constexpr size_t kMaxHead = 512;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const size_t piece = data[0] % 64 + 1;
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  int ends[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, ends) != 0) return 0;
  std::atomic<size_t> open{0};
  {
    ConnectionStream stream(ends[0], open, kMaxHead, std::chrono::milliseconds(10), [] { return false; });
    std::string sent;
    size_t offset = 0;
    size_t heads_end = 0;  // where in `sent` the heads read so far end
    auto state = ConnectionStream::Head::kPartial;
    while (state == ConnectionStream::Head::kPartial || state == ConnectionStream::Head::kComplete) {
      if (state == ConnectionStream::Head::kPartial) {
        if (offset < bytes.size()) {
          const std::string_view chunk = bytes.substr(offset, piece);
          if (::send(ends[1], chunk.data(), chunk.size(), 0) != static_cast<ssize_t>(chunk.size())) break;
          sent += chunk;
          offset += chunk.size();
        } else {
          ::shutdown(ends[1], SHUT_WR);
        }
        state = stream.receive();
        continue;
      }
      const std::string_view head = stream.head();
      const size_t end = sent.find("\r\n\r\n", heads_end);
      if (end == std::string::npos || head != std::string_view(sent).substr(heads_end, end + 4 - heads_end) ||
          head.size() > kMaxHead)
        __builtin_trap();
      announces_body(head);
      stream.begin_request();
      std::string read_back;
      char buffer[7];
      ssize_t n;
      while (stream.is_readable() && (n = stream.read(buffer, sizeof buffer)) > 0)
        read_back.append(buffer, static_cast<size_t>(n));
      if (read_back != head || stream.read(buffer, sizeof buffer) != 0) __builtin_trap();
      stream.end_request();
      heads_end = end + 4;
      // What followed the head may hold the next one already.
      state = stream.head_state();
    }
    // The stream ended: every whole head within the limit was found before.
    if (state == ConnectionStream::Head::kClosed && sent.find("\r\n\r\n", heads_end) != std::string::npos &&
        sent.find("\r\n\r\n", heads_end) + 4 - heads_end <= kMaxHead && offset >= bytes.size())
      __builtin_trap();
  }
  ::close(ends[1]);
  if (open != 0) __builtin_trap();
  return 0;
}
