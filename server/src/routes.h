#pragma once

#include <filesystem>
#include <string>
#include <variant>
#include <vector>

#include "accesslog.h"
#include "dealtgames.h"
#include "pagecache.h"
#include "ratelimiter.h"
#include "reply.h"
#include "scorestore.h"
#include "seedtickets.h"

// A request that waits for the store, as a store worker takes it: a copy of what its reply depends
// on, so that the worker reads nothing of the connection it came on.
struct StoreRequest {
  enum class Kind { kPosting, kRoll, kPage, kHealth };
  Kind kind;
  std::string target;
  std::string client;
  // The page's: the form the client takes, and what it holds already.
  std::string accept_encoding{};
  std::string if_none_match{};
  std::string if_modified_since{};
};

// What the server answers at each address the game and the player's browser ask for.
class Routes {
 public:
  using Request = http::request<http::empty_body>;

  struct Setup {
    std::filesystem::path release_dir;
    std::filesystem::path www_dir;
    std::vector<std::string> trusted_proxies;  // peers whose X-Forwarded-For names the client
  };

  // seed_limiter: the seeds dealt to one address; post_limiter: the postings from one.
  Routes(ScoreStore& store, PageCache& page_cache, RateLimiter& post_limiter, RateLimiter& seed_limiter,
         const SeedTickets& seed_tickets, DealtGames& dealt_games, Setup setup);

  // The reply, when it can be made without waiting for the store (the cached page, the files, a
  // seed, a refusal); else the request as the store's workers take it, for answer().
  std::variant<Reply, StoreRequest> route(const Request& request, const std::string& client);
  // The reply to a request that waits for the store, so it is called away from the threads that
  // serve connections.
  Reply answer(const StoreRequest& request);

  // The client's address: the peer's, or the one a trusted proxy appended to X-Forwarded-For.
  std::string client_address(const Request& request, const std::string& peer) const;
  bool is_trusted_proxy(const std::string& peer) const;

 private:
  TextReply post_score(const StoreRequest& request);
  TextReply deal_roll(const StoreRequest& request);
  TextReply deal_seed(const std::string& client);
  Reply health();

  ScoreStore& store_;
  PageCache& page_cache_;
  RateLimiter& post_limiter_;
  RateLimiter& seed_limiter_;
  const SeedTickets& seed_tickets_;
  DealtGames& dealt_games_;
  const Setup setup_;
};
