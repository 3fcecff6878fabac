#include "routes.h"

#include <arpa/inet.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <fstream>
#include <iostream>
#include <memory>

#include "core/wire.h"
#include "highscorepage.h"
#include "posting.h"

namespace {

constexpr char kPlainText[] = "text/plain; charset=utf-8";
constexpr char kHtml[] = "text/html; charset=utf-8";
constexpr size_t kFileChunk = 64 * 1024;
constexpr char kHomePage[] = "index.html";

namespace wire = velnor::wire;

// The route pattern that matches exactly one server path (the library's patterns are regular expressions).
std::string exact_route(std::string_view path) {
  std::string pattern = "/";
  for (const char c : path) {
    if (std::string_view(R"(\^$.|?*+()[]{})").find(c) != std::string_view::npos) pattern += '\\';
    pattern += c;
  }
  return pattern;
}

const char* status_text(int status) {
  switch (status) {
    case 400:
      return "Bad request\n";
    case 404:
      return "Not found\n";
    case 405:
      return "Method not allowed\n";
    case 413:
      return "Request too large\n";
    case 414:
      return "Request line too long\n";
    case 416:
      return "Range not satisfiable\n";
    case 500:
      return "Server error\n";
    default:
      return "Request failed\n";
  }
}

// Sends a file as it is on disk, in chunks, so that a large installer does not sit in memory.
void serve_file(const std::filesystem::path& path, const char* content_type, httplib::Response& response) {
  std::error_code error;
  auto file = std::make_shared<std::ifstream>(path, std::ios::binary | std::ios::ate);
  if (!std::filesystem::is_regular_file(path, error) || !*file) {
    response.status = 404;
    return;
  }
  // The size of the file that was opened: a file replaced meanwhile is sent whole, old or new.
  const std::streamoff end = file->tellg();
  if (end < 0) {
    response.status = 404;
    return;
  }
  const auto size = static_cast<size_t>(end);
  if (size == 0) {
    // The library gives a provider of no bytes no Content-Length, which would leave the client waiting.
    response.set_content("", content_type);
    return;
  }
  response.set_content_provider(size, content_type, [file](size_t offset, size_t length, httplib::DataSink& sink) {
    std::array<char, kFileChunk> chunk;
    file->clear();
    file->seekg(static_cast<std::streamoff>(offset));
    file->read(chunk.data(), static_cast<std::streamsize>(std::min(length, chunk.size())));
    const auto got = file->gcount();
    // A file cut short while being sent ends the transfer instead of padding it.
    return got > 0 && sink.write(chunk.data(), static_cast<size_t>(got));
  });
}

// The store is out of reach for now: the client may try again shortly, and the administrator is told.
void refuse_for_now(const StoreUnavailable& error, httplib::Response& response) {
  // Said once every few seconds at most, however many requests are refused meanwhile.
  static std::atomic<int64_t> last_said{0};
  const auto now =
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now().time_since_epoch()).count();
  int64_t said = last_said;
  if (now - said >= 5 && last_said.compare_exchange_strong(said, now))
    std::cerr << "velnor-server: " << error.what() << " (answering 503 meanwhile)\n";
  response.status = 503;
  response.set_header("Retry-After", "5");
  response.set_content("The scores cannot be reached just now; try again in a moment.\n", kPlainText);
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

Routes::Routes(ScoreStore& store, PageCache& page_cache, RateLimiter& post_limiter, const SeedTickets& seed_tickets,
               Setup setup)
    : store_(store),
      page_cache_(page_cache),
      post_limiter_(post_limiter),
      seed_tickets_(seed_tickets),
      setup_(std::move(setup)) {}

// A proxy appends the address it got the request from to X-Forwarded-For, so the last entry is the
// one to believe; anything before it came from the client and could be made up. An entry that is
// not an IPv4 or IPv6 address is not believed either.
std::string Routes::client_address(const httplib::Request& request) const {
  if (std::find(setup_.trusted_proxies.begin(), setup_.trusted_proxies.end(), request.remote_addr) ==
      setup_.trusted_proxies.end())
    return request.remote_addr;
  const auto count = request.get_header_value_count("X-Forwarded-For");
  if (count == 0) return request.remote_addr;
  const std::string last_header = request.get_header_value("X-Forwarded-For", count - 1);
  std::string_view forwarded = last_header;
  if (const auto comma = forwarded.rfind(','); comma != std::string_view::npos) forwarded.remove_prefix(comma + 1);
  while (!forwarded.empty() && forwarded.front() == ' ') forwarded.remove_prefix(1);
  while (!forwarded.empty() && forwarded.back() == ' ') forwarded.remove_suffix(1);
  // Only an address is taken: the header's text reaches the store and the log.
  return is_ip_address(forwarded) ? std::string(forwarded) : request.remote_addr;
}

void Routes::install(httplib::Server& server) {
  server.Get(exact_route(wire::kPostingPath),
             [this](const httplib::Request& request, httplib::Response& response) { post_score(request, response); });
  server.Get(exact_route(wire::kHighScorePath),
             [this](const httplib::Request&, httplib::Response& response) { high_score_page(response); });
  server.Get("/healthz", [this](const httplib::Request&, httplib::Response& response) { health(response); });
  server.Get(exact_route(wire::kSeedPath),
             [this](const httplib::Request&, httplib::Response& response) { deal_seed(response); });
  server.Get(exact_route(wire::kVersionPath), [this](const httplib::Request&, httplib::Response& response) {
    serve_file(setup_.release_dir / wire::kVersionFile, "text/plain", response);
  });
  server.Get(exact_route(wire::kInstallerPath), [this](const httplib::Request&, httplib::Response& response) {
    serve_file(setup_.release_dir / wire::kInstallerFile, "application/octet-stream", response);
  });
  server.Get(exact_route(wire::kInstallerSignaturePath), [this](const httplib::Request&, httplib::Response& response) {
    serve_file(setup_.release_dir / wire::kInstallerSignatureFile, "application/octet-stream", response);
  });
  server.Get("/", [this](const httplib::Request&, httplib::Response& response) {
    serve_file(setup_.www_dir / kHomePage, kHtml, response);
  });
  server.Get(exact_route(wire::kMultiplayerPage), [this](const httplib::Request&, httplib::Response& response) {
    serve_file(setup_.www_dir / wire::kMultiplayerPage, kHtml, response);
  });

  if (setup_.access_log)
    server.set_logger([this](const httplib::Request& request, const httplib::Response& response) {
      setup_.access_log->record(client_address(request), request, response);
    });

  // Gives a short text to the errors that the library answers with an empty body.
  server.set_error_handler(
      httplib::Server::HandlerWithResponse([](const httplib::Request&, httplib::Response& response) {
        if (!response.body.empty()) return httplib::Server::HandlerResponse::Unhandled;
        response.set_content(status_text(response.status), kPlainText);
        return httplib::Server::HandlerResponse::Handled;
      }));
  server.set_exception_handler(
      [](const httplib::Request& request, httplib::Response& response, std::exception_ptr thrown) {
        try {
          std::rethrow_exception(thrown);
        } catch (const std::exception& e) {
          std::cerr << "velnor-server: " << request.path << ": " << e.what() << '\n';
        } catch (...) {
          std::cerr << "velnor-server: " << request.path << ": unknown failure\n";
        }
        response.status = 500;
        response.set_content(status_text(500), kPlainText);
      });
}

void Routes::post_score(const httplib::Request& request, httplib::Response& response) {
  // The library routes HEAD to the GET handlers; a HEAD must not store anything.
  if (request.method == "HEAD") {
    response.status = 405;
    response.set_header("Allow", "GET");
    return;
  }
  const std::string client = client_address(request);
  if (!post_limiter_.allow(client, RateLimiter::Clock::now())) {
    response.status = 429;
    response.set_header("Retry-After", "60");
    response.set_content("Too many postings from your address; try again in a minute.\n", kPlainText);
    return;
  }
  const auto question = request.target.find('?');
  const auto query =
      question == std::string::npos ? std::string_view() : std::string_view(request.target).substr(question + 1);
  PostingResult result = parse_posting(query);
  if (!result.ok()) {
    response.status = 400;
    response.set_content("Score not posted: " + result.error + ".\n", kPlainText);
    return;
  }
  const int64_t now = unix_time_now();
  result.posting.ticket = seed_tickets_.verifying_ticket(result.posting, now);
  try {
    store_.add(result.posting, client, now);
  } catch (const StoreUnavailable& e) {
    refuse_for_now(e, response);
    return;
  }
  page_cache_.invalidate();
  response.set_content("Score posted.\n", kPlainText);
}

// For load balancers: whether this server can reach its store just now.
void Routes::health(httplib::Response& response) {
  response.set_header("Cache-Control", "no-store");
  try {
    store_.check();
  } catch (const StoreUnavailable& e) {
    refuse_for_now(e, response);
    return;
  }
  response.set_content("ok\n", kPlainText);
}

// Every request gets its own seed; a ticket is no use to anyone but the game that plays it.
void Routes::deal_seed(httplib::Response& response) {
  response.set_header("Cache-Control", "no-store");
  response.set_content(seed_tickets_.deal(unix_time_now()).text() + "\n", kPlainText);
}

void Routes::high_score_page(httplib::Response& response) {
  PageCache::Page page;
  try {
    page = page_cache_.get([this] { return render_high_score_page(store_.standings(kPageScoreCount)); });
  } catch (const StoreUnavailable& e) {
    refuse_for_now(e, response);
    return;
  }
  response.set_header("Cache-Control", "no-cache");
  // The page is plain HTML that needs nothing from anywhere: a browser may run or fetch nothing.
  response.set_header("Content-Security-Policy", "default-src 'none'; frame-ancestors 'none'");
  response.set_header("X-Content-Type-Options", "nosniff");
  response.set_content(*page, kHtml);
}
