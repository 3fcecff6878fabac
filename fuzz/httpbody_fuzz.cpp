// Sends arbitrary body bytes through each framing a reply can use (a length,
// chunks of arbitrary sizes with extensions and trailers, the end of the
// connection), cut into arbitrary pieces, and checks that the reader hands on
// exactly the body that was sent.
#include "online/httpbody.h"
#include "online/httpreply.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

std::string hex(std::size_t value) {
  char text[32];
  std::snprintf(text, sizeof text, "%zx", value);
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const int framing = input.ConsumeIntegralInRange(0, 2);
  const std::string sent = input.ConsumeRandomLengthString(4096);

  std::string head = "HTTP/1.1 200 OK\r\n";
  std::string wire;
  if (framing == 0) {
    head += "Content-Length: " + std::to_string(sent.size()) + "\r\n";
    wire = sent;
  } else if (framing == 1) {
    head += "Transfer-Encoding: Chunked\r\n";
    for (std::size_t at = 0; at < sent.size();) {
      const std::size_t count = input.ConsumeIntegralInRange<std::size_t>(1, sent.size() - at);
      wire += hex(count) + (input.ConsumeBool() ? ";name=value" : "") + (input.ConsumeBool() ? "\r\n" : "\n");
      wire += sent.substr(at, count) + "\r\n";
      at += count;
    }
    wire += "0\r\n" + std::string(input.ConsumeBool() ? "Trailer: x\r\n" : "") + "\r\n";
  } else {
    wire = sent;
  }
  head += "\r\n";
  const std::string after = framing == 2 ? "" : "bytes after the body";
  wire += after;

  velnor::HttpReplyHeader header;
  header.feed(head);
  check(header.complete());
  velnor::HttpBody body(header, sent.size());
  std::string got;
  const velnor::HttpBody::Sink keep = [&got](std::string_view bytes) { got.append(bytes); };
  for (std::string_view rest = wire; !rest.empty();) {
    const std::size_t piece = input.ConsumeIntegralInRange<std::size_t>(1, rest.size());
    body.feed(rest.substr(0, piece), keep);
    rest.remove_prefix(piece);
  }
  check(got == sent);
  check(body.finished() == (framing != 2));
  return 0;
}
