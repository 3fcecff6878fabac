#include "routes.h"

#include <arpa/inet.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <iostream>

#include "core/wire.h"
#include "highscorepage.h"
#include "httpconventions.h"
#include "posting.h"

namespace {

constexpr char kHtml[] = "text/html; charset=utf-8";
// The maker's pages are plain HTML with a style sheet of their own: a browser may take their styles
// and run and fetch nothing.
constexpr char kMakersPagePolicy[] =
    "default-src 'none'; style-src 'unsafe-inline'; base-uri 'none'; form-action 'none'; frame-ancestors 'none'";
constexpr char kHomePage[] = "index.html";
constexpr char kGetOnly[] = "GET";
constexpr char kGetAndHead[] = "GET, HEAD";

namespace wire = velnor::wire;

enum class Place {
  kNone,
  kPosting,
  kRoll,
  kPage,
  kHealth,
  kSeed,
  kVersion,
  kInstaller,
  kSignature,
  kHome,
  kMultiplayer
};

Place place_of(std::string_view target) {
  const std::string_view path = target.substr(0, target.find('?'));
  if (!path.starts_with('/')) return Place::kNone;
  const std::string_view name = path.substr(1);
  if (name == wire::kPostingPath) return Place::kPosting;
  if (name == wire::kHighScorePath) return Place::kPage;
  if (name == "healthz") return Place::kHealth;
  if (name == wire::kSeedPath) return Place::kSeed;
  if (name == wire::kRollPath) return Place::kRoll;
  if (name == wire::kVersionPath) return Place::kVersion;
  if (name == wire::kInstallerPath) return Place::kInstaller;
  if (name == wire::kInstallerSignaturePath) return Place::kSignature;
  if (name.empty()) return Place::kHome;
  if (name == wire::kMultiplayerPage) return Place::kMultiplayer;
  return Place::kNone;
}

// A wrong method on a path that exists, with the methods that it takes.
TextReply method_not_allowed(const char* allowed) {
  TextReply reply = text_reply(http::status::method_not_allowed, "Method not allowed\n");
  reply.set(http::field::allow, allowed);
  return reply;
}

std::string hex(uint64_t value) {
  char digits[16];
  return std::string(digits, std::to_chars(digits, digits + sizeof digits, value, 16).ptr);
}

// Sends a file as it is on disk, read in chunks as the client takes it, so that a large installer
// never sits in memory. The size is that of the file opened: a file replaced meanwhile goes whole,
// old or new. A page goes with the policy that a browser holds it to.
Reply file_reply(const Routes::Request& request, const std::filesystem::path& path, const char* content_type,
                 const char* content_policy = nullptr) {
  http::file_body::value_type file;
  boost::beast::error_code error;
  file.open(path.c_str(), boost::beast::file_mode::scan, error);
  struct stat status {};
  if (error || ::fstat(file.file().native_handle(), &status) != 0 || !S_ISREG(status.st_mode))
    return text_reply(http::status::not_found, "Not found\n");
  // Size and time of change name this version of the file on this server.
  const std::string etag = '"' + hex(static_cast<uint64_t>(status.st_size)) + '-' +
                           hex(static_cast<uint64_t>(status.st_mtim.tv_sec) * 1000000000ull +
                               static_cast<uint64_t>(status.st_mtim.tv_nsec)) +
                           '"';
  const std::time_t modified = status.st_mtim.tv_sec;
  if (http_conventions::still_fresh(request[http::field::if_none_match], request[http::field::if_modified_since], etag,
                                    modified, std::time(nullptr))) {
    HeadReply unchanged{http::status::not_modified, request.version()};
    unchanged.set(http::field::etag, etag);
    unchanged.set(http::field::last_modified, http_conventions::http_date(modified));
    return unchanged;
  }
  FileReply reply{http::status::ok, request.version()};
  reply.set(http::field::content_type, content_type);
  reply.set("X-Content-Type-Options", "nosniff");
  if (content_policy) reply.set("Content-Security-Policy", content_policy);
  reply.set(http::field::etag, etag);
  reply.set(http::field::last_modified, http_conventions::http_date(modified));
  reply.body() = std::move(file);
  reply.prepare_payload();
  return reply;
}

// The page in the form the client takes best; 304 when the client holds it already.
PreparedReply page_reply(std::string_view accept_encoding, std::string_view if_none_match,
                         std::string_view if_modified_since, const PageCache::Page& page) {
  const RenderedPage::Form& form = page->form(http_conventions::preferred_encoding(accept_encoding));
  const bool unchanged = http_conventions::still_fresh(if_none_match, if_modified_since, form.etag, page->rendered_at(),
                                                       std::time(nullptr));
  // The reply's lines and bytes keep the whole page alive while they are sent.
  const std::string& lines = unchanged ? form.unchanged_header : form.full_header;
  PreparedReply reply{
      http::response_header<PreparedFields>(PreparedFields(std::shared_ptr<const std::string>(page, &lines)))};
  reply.result(unchanged ? http::status::not_modified : http::status::ok);
  if (!unchanged) reply.body() = std::shared_ptr<const std::string>(page, &form.bytes);
  return reply;
}

// The store is out of reach for now: the client may try again shortly, and the administrator is told.
TextReply refuse_for_now(const StoreUnavailable& error) {
  // Said once every few seconds at most, however many requests are refused meanwhile.
  static std::atomic<int64_t> last_said{0};
  const auto now =
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now().time_since_epoch()).count();
  int64_t said = last_said;
  if (now - said >= 5 && last_said.compare_exchange_strong(said, now))
    std::cerr << "velnor-server: " << error.what() << " (answering 503 meanwhile)\n";
  TextReply reply =
      text_reply(http::status::service_unavailable, "The scores cannot be reached just now; try again in a moment.\n");
  reply.set(http::field::retry_after, "5");
  return reply;
}

// An answer for one client at one moment (a posting's outcome, a seed, the store's health): no
// cache may keep it.
TextReply never_stored(TextReply reply) {
  reply.set(http::field::cache_control, "no-store");
  return reply;
}

bool is_ip_address(std::string_view text) {
  if (text.empty() || text.size() >= INET6_ADDRSTRLEN) return false;
  const std::string terminated(text);
  in6_addr parsed;
  return inet_pton(AF_INET, terminated.c_str(), &parsed) == 1 || inet_pton(AF_INET6, terminated.c_str(), &parsed) == 1;
}

int64_t unix_time_now() {
  return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
}

}  // namespace

Routes::Routes(ScoreStore& store, PageCache& page_cache, RateLimiter& post_limiter, RateLimiter& seed_limiter,
               const SeedTickets& seed_tickets, DealtGames& dealt_games, Setup setup)
    : store_(store),
      page_cache_(page_cache),
      post_limiter_(post_limiter),
      seed_limiter_(seed_limiter),
      seed_tickets_(seed_tickets),
      dealt_games_(dealt_games),
      setup_(std::move(setup)) {}

bool Routes::is_trusted_proxy(const std::string& peer) const {
  return std::find(setup_.trusted_proxies.begin(), setup_.trusted_proxies.end(), peer) != setup_.trusted_proxies.end();
}

// A proxy appends the address it got the request from to X-Forwarded-For, so the last entry is the
// one to believe; anything before it came from the client and could be made up. An entry that is
// not an IPv4 or IPv6 address is not believed either.
std::string Routes::client_address(const Request& request, const std::string& peer) const {
  if (!is_trusted_proxy(peer)) return peer;
  std::string_view last_header;
  const auto [first, end] = request.equal_range("X-Forwarded-For");
  for (auto field = first; field != end; ++field) last_header = field->value();
  if (last_header.data() == nullptr) return peer;
  std::string_view forwarded = last_header;
  if (const auto comma = forwarded.rfind(','); comma != std::string_view::npos) forwarded.remove_prefix(comma + 1);
  while (!forwarded.empty() && forwarded.front() == ' ') forwarded.remove_prefix(1);
  while (!forwarded.empty() && forwarded.back() == ' ') forwarded.remove_suffix(1);
  // Only an address is taken: the header's text reaches the store and the log.
  return is_ip_address(forwarded) ? std::string(forwarded) : peer;
}

std::variant<Reply, StoreRequest> Routes::route(const Request& request, const std::string& client) {
  const Place place = place_of(request.target());
  if (place == Place::kNone) return text_reply(http::status::not_found, "Not found\n");
  const auto method = request.method();
  const auto for_the_store = [&](StoreRequest::Kind kind) {
    return StoreRequest{.kind = kind, .target = std::string(request.target()), .client = client};
  };
  // A posting and a roll change the store: HEAD, which must change nothing, is not taken for them.
  if (place == Place::kPosting || place == Place::kRoll) {
    if (method != http::verb::get) return never_stored(method_not_allowed(kGetOnly));
    return for_the_store(place == Place::kPosting ? StoreRequest::Kind::kPosting : StoreRequest::Kind::kRoll);
  }
  if (method != http::verb::get && method != http::verb::head) return method_not_allowed(kGetAndHead);
  switch (place) {
    case Place::kPage: {
      const std::string_view accept_encoding = request[http::field::accept_encoding];
      const std::string_view if_none_match = request[http::field::if_none_match];
      const std::string_view if_modified_since = request[http::field::if_modified_since];
      if (const auto page = page_cache_.cached(client))
        return page_reply(accept_encoding, if_none_match, if_modified_since, page);
      StoreRequest page_request = for_the_store(StoreRequest::Kind::kPage);
      page_request.accept_encoding = accept_encoding;
      page_request.if_none_match = if_none_match;
      page_request.if_modified_since = if_modified_since;
      return page_request;
    }
    case Place::kHealth:
      return for_the_store(StoreRequest::Kind::kHealth);
    case Place::kSeed:
      return never_stored(deal_seed(client));
    case Place::kVersion:
      return file_reply(request, setup_.release_dir / wire::kVersionFile, "text/plain");
    case Place::kInstaller:
      return file_reply(request, setup_.release_dir / wire::kInstallerFile, "application/octet-stream");
    case Place::kSignature:
      return file_reply(request, setup_.release_dir / wire::kInstallerSignatureFile, "application/octet-stream");
    case Place::kHome:
      return file_reply(request, setup_.www_dir / kHomePage, kHtml, kMakersPagePolicy);
    case Place::kMultiplayer:
      return file_reply(request, setup_.www_dir / wire::kMultiplayerPage, kHtml, kMakersPagePolicy);
    case Place::kNone:
    case Place::kPosting:
    case Place::kRoll:
      break;  // answered above
  }
  return text_reply(http::status::not_found, "Not found\n");
}

Reply Routes::answer(const StoreRequest& request) {
  switch (request.kind) {
    case StoreRequest::Kind::kPosting:
      return never_stored(post_score(request));
    case StoreRequest::Kind::kRoll:
      return never_stored(deal_roll(request));
    case StoreRequest::Kind::kHealth:
      return health();
    case StoreRequest::Kind::kPage:
      break;
  }
  try {
    return page_reply(
        request.accept_encoding, request.if_none_match, request.if_modified_since,
        page_cache_.get(request.client, [this] { return render_high_score_page(store_.standings(kPageScoreCount)); }));
  } catch (const StoreUnavailable& e) {
    return refuse_for_now(e);
  }
}

TextReply Routes::post_score(const StoreRequest& request) {
  const std::string& client = request.client;
  if (!post_limiter_.allow(client, RateLimiter::Clock::now())) {
    TextReply reply =
        text_reply(http::status::too_many_requests, "Too many postings from your address; try again in a minute.\n");
    reply.set(http::field::retry_after, "60");
    return reply;
  }
  const std::string_view target = request.target;
  const auto question = target.find('?');
  const auto query = question == std::string_view::npos ? std::string_view() : target.substr(question + 1);
  PostingResult result = parse_posting(query);
  if (!result.ok()) return text_reply(http::status::bad_request, "Score not posted: " + result.error + ".\n");
  const int64_t now = unix_time_now();
  try {
    result.posting.ticket = dealt_games_.verifying_ticket(result.posting, now);
    store_.add(result.posting, client, now);
  } catch (const StoreUnavailable& e) {
    return refuse_for_now(e);
  }
  page_cache_.invalidate(client);
  return text_reply(http::status::ok, "Score posted.\n");
}

// Every request gets its own seed; a ticket is no use to anyone but the game that plays it. They
// are limited all the same, since each one that is played keeps its rolls in the store for a day.
TextReply Routes::deal_seed(const std::string& client) {
  if (!seed_limiter_.allow(client, RateLimiter::Clock::now())) {
    TextReply reply =
        text_reply(http::status::too_many_requests, "Too many games from your address; try again in a minute.\n");
    reply.set(http::field::retry_after, "60");
    return reply;
  }
  return text_reply(http::status::ok, seed_tickets_.deal(unix_time_now()).text() + "\n");
}

// Not limited like the seeds: a game takes up to a hundred rolls, and each is dealt only after the
// one before has been played.
TextReply Routes::deal_roll(const StoreRequest& request) {
  const std::string_view target = request.target;
  const auto question = target.find('?');
  const auto query = question == std::string_view::npos ? std::string_view() : target.substr(question + 1);
  try {
    const DealtGames::Answer answer = dealt_games_.roll(query, unix_time_now());
    switch (answer.outcome) {
      case DealtGames::Answer::Outcome::kDealt:
        return text_reply(http::status::ok, answer.dice);
      case DealtGames::Answer::Outcome::kRefused:
        return text_reply(http::status::conflict, "That game's rolls do not go on from there.\n");
      case DealtGames::Answer::Outcome::kMalformed:
        break;
    }
    return text_reply(http::status::bad_request, "Not a roll's request for a ticket of this server's.\n");
  } catch (const StoreUnavailable& e) {
    return refuse_for_now(e);
  }
}

// For load balancers: whether this server can reach its store just now.
Reply Routes::health() {
  try {
    store_.check();
    return never_stored(text_reply(http::status::ok, "ok\n"));
  } catch (const StoreUnavailable& e) {
    return never_stored(refuse_for_now(e));
  }
}
