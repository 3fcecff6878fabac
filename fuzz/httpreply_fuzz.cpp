// Feeds arbitrary bytes, cut into arbitrary pieces, to the reply header reader
// the way a connection delivers them, and follows whatever location they name.
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
  check(header.status() >= 0 && header.status() <= 999);
  // Nothing is kept beyond what was fed.
  check(header.take_body_start().size() <= fed);
  check(header.take_body_start().empty());
  check(header.reason().size() <= velnor::HttpReplyHeader::kMaxLineLength);
  check(header.location().size() <= velnor::HttpReplyHeader::kMaxLineLength);
  if (!header.location().empty()) {
    try {
      check_address(velnor::follow_location(from, header.location()));
    } catch (const velnor::EHttpException& e) {
      check(e.status() == velnor::kHttpFailureStatus);
    }
  }
  return 0;
}
