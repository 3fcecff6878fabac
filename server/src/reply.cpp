#include "reply.h"

TextReply text_reply(http::status status, std::string text) {
  TextReply reply{status, 11};
  reply.set(http::field::content_type, "text/plain; charset=utf-8");
  reply.set("X-Content-Type-Options", "nosniff");
  reply.body() = std::make_shared<const std::string>(std::move(text));
  reply.prepare_payload();
  return reply;
}
