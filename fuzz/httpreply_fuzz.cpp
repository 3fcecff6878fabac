// Feeds arbitrary bytes, cut into arbitrary pieces, to the reply reader the way a
// connection delivers them: the header, then the body as the header frames it.
// Follows whatever location the header names.
#include "online/httpbody.h"
#include "online/httpreply.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

bool has_control(const std::string& text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return true;
  return false;
}

void check_address(const velnor::HttpAddress& address) {
  check(!address.host.empty() && address.port != 0);
  check(!address.path.empty() && address.path.front() == '/');
  check(!has_control(address.host) && !has_control(address.path) && !has_control(address.user) &&
        !has_control(address.password));
}

// The body after the header, fed in pieces; what the reader hands on is never
// more than came, nor more than the limit, and without chunks it is what came.
void read_body(const velnor::HttpReplyHeader& header, std::string start, FuzzedDataProvider& input) {
  const auto max_size = input.ConsumeIntegralInRange<std::uint64_t>(0, 1 << 16);
  std::string received = start, body;
  const velnor::HttpBody::Sink keep = [&body](std::string_view bytes) { body.append(bytes); };
  try {
    velnor::HttpBody reader(header, max_size);
    reader.feed(start, keep);
    while (input.remaining_bytes() > 0 && !reader.finished()) {
      const std::string piece = input.ConsumeRandomLengthString(512);
      received += piece;
      reader.feed(piece, keep);
    }
    check(reader.size() == body.size());
  } catch (const velnor::EHttpException& e) {
    check(e.status() == velnor::kHttpFailureStatus);
  }
  check(body.size() <= received.size() && body.size() <= max_size);
  if (header.transfer_encoding().empty()) check(received.compare(0, body.size(), body) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string url = input.ConsumeRandomLengthString(256);
  velnor::HttpAddress from = velnor::split_address("http://velnor.test/dir/file");
  try {
    from = velnor::split_address(url);
    check_address(from);
  } catch (const velnor::EHttpException& e) {
    check(e.status() == velnor::kHttpFailureStatus);
  }

  velnor::HttpReplyHeader header;
  std::size_t fed = 0;
  try {
    while (input.remaining_bytes() > 0 && !header.complete()) {
      const std::string piece = input.ConsumeRandomLengthString(512);
      fed += piece.size();
      header.feed(piece);
    }
    header.finish();
  } catch (const velnor::EHttpException& e) {
    check(e.status() == velnor::kHttpFailureStatus);
    return 0;
  }

  check(header.complete());
  // An interim head is never the reply.
  check(header.status() >= 0 && header.status() <= 999 && (header.status() < 100 || header.status() >= 200));
  check(header.reason().size() <= velnor::HttpReplyHeader::kMaxLineLength);
  check(header.location().size() <= velnor::HttpReplyHeader::kMaxLineLength);
  check(!(header.content_length() && header.content_length_unreadable()));
  if (!header.location().empty()) {
    try {
      check_address(velnor::follow_location(from, header.location()));
    } catch (const velnor::EHttpException& e) {
      check(e.status() == velnor::kHttpFailureStatus);
    }
  }
  // Nothing is kept beyond what was fed, and it is handed over once.
  std::string start = header.take_body_start();
  check(start.size() <= fed);
  check(header.take_body_start().empty());
  read_body(header, std::move(start), input);
  return 0;
}
