#pragma once

#include <httplib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "accesslog.h"
#include "pagecache.h"
#include "ratelimiter.h"
#include "scorestore.h"
#include "seedtickets.h"

// What the server answers at each address the game and the player's browser ask for.
class Routes {
 public:
  struct Setup {
    std::filesystem::path release_dir;
    std::filesystem::path www_dir;
    std::vector<std::string> trusted_proxies;  // peers whose X-Forwarded-For names the client
    AccessLog* access_log = nullptr;           // none: no log
  };

  Routes(ScoreStore& store, PageCache& page_cache, RateLimiter& post_limiter, const SeedTickets& seed_tickets,
         Setup setup);

  void install(httplib::Server& server);

  // The client's address: the peer's, or the one a trusted proxy appended to X-Forwarded-For.
  std::string client_address(const httplib::Request& request) const;

 private:
  void post_score(const httplib::Request& request, httplib::Response& response);
  void high_score_page(httplib::Response& response);
  void deal_seed(httplib::Response& response);
  void health(httplib::Response& response);

  ScoreStore& store_;
  PageCache& page_cache_;
  RateLimiter& post_limiter_;
  const SeedTickets& seed_tickets_;
  const Setup setup_;
};
