// Feeds arbitrary header lines and body pieces to the fetcher's reply reader,
// the way libcurl hands them over, and checks what it keeps of the body.
#include "online/thttpget.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  velnor::ReplyReader reply(input.ConsumeBool());
  using Step = velnor::ReplyReader::Step;
  Step step = Step::kMore;
  std::string body;
  while (step == Step::kMore && input.remaining_bytes() > 0) {
    const std::string piece = input.ConsumeRandomLengthString(1100);
    if (input.ConsumeBool()) {
      step = reply.header_line(piece);
      check(step != Step::kFailed);
    } else {
      body += piece;
      step = reply.body_bytes(piece);
    }
    check(reply.total_size() >= 0);
    check(reply.readed() == static_cast<int>(reply.result().size()));
    check(reply.readed() <= velnor::ReplyReader::kMaxBody);
    // What is kept is the start of what came, never more.
    check(body.compare(0, reply.result().size(), reply.result()) == 0);
  }
  return 0;
}
