#pragma once

#include <httplib.h>

#include <filesystem>

#include "pagecache.h"
#include "ratelimiter.h"
#include "scoredatabase.h"

// What the server answers at each address the game and the player's browser ask for.
class Routes {
 public:
  Routes(ScoreDatabase& database, PageCache& page_cache, RateLimiter& post_limiter,
         std::filesystem::path release_dir, std::filesystem::path www_dir);

  void install(httplib::Server& server);

 private:
  void post_score(const httplib::Request& request, httplib::Response& response);
  void high_score_page(httplib::Response& response);

  ScoreDatabase& database_;
  PageCache& page_cache_;
  RateLimiter& post_limiter_;
  const std::filesystem::path release_dir_;
  const std::filesystem::path www_dir_;
};
