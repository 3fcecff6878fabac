#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "accesslog.h"
#include "pagecache.h"
#include "ratelimiter.h"
#include "reply.h"
#include "scorestore.h"
#include "seedtickets.h"

// What the server answers at each address the game and the player's browser ask for.
class Routes {
 public:
  using Request = http::request<http::empty_body>;

  struct Setup {
    std::filesystem::path release_dir;
    std::filesystem::path www_dir;
    std::vector<std::string> trusted_proxies;  // peers whose X-Forwarded-For names the client
  };

  Routes(ScoreStore& store, PageCache& page_cache, RateLimiter& post_limiter, const SeedTickets& seed_tickets,
         Setup setup);

  // The reply, when it can be made without waiting for the store (the cached page, the files, a
  // seed, a refusal); nothing when it needs the store, and then answer() makes it.
  std::optional<Reply> answer_at_once(const Request& request, const std::string& client);
  // The reply; may wait for the store, so it is called away from the threads that serve connections.
  Reply answer(const Request& request, const std::string& client);

  // The client's address: the peer's, or the one a trusted proxy appended to X-Forwarded-For.
  std::string client_address(const Request& request, const std::string& peer) const;
  bool is_trusted_proxy(const std::string& peer) const;

 private:
  TextReply post_score(const Request& request, const std::string& client);
  Reply health();

  ScoreStore& store_;
  PageCache& page_cache_;
  RateLimiter& post_limiter_;
  const SeedTickets& seed_tickets_;
  const Setup setup_;
};
