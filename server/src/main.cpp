// velnor-server: the game's web server (score postings, high-score page, release files, the maker's pages).
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <thread>

#include "accesslog.h"
#include "core/version.h"
#include "httpserver.h"
#include "options.h"
#include "pagecache.h"
#include "ratelimiter.h"
#include "routes.h"
#include "scorestore.h"
#include "tlscertificate.h"
#include "workerpool.h"

namespace {

std::filesystem::path program_folder() {
  std::error_code error;
  const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::current_path() : program.parent_path();
}

// The maker's pages: beside the program in a build, else where an install puts them.
std::filesystem::path default_www_dir() {
  const auto folder = program_folder();
  std::error_code error;
  if (std::filesystem::is_directory(folder / "www", error)) return folder / "www";
  return (folder / VELNOR_INSTALLED_WWW).lexically_normal();
}

int copy(const ServerOptions& options) {
  const auto from = open_score_store(options.copy_from);
  const auto to = open_score_store(options.copy_to);
  const int64_t copied = copy_scores(*from, *to);
  std::cout << "velnor-server: copied " << copied << " scores; both stores hold " << copied << '\n';
  return 0;
}

int run(const ServerOptions& options) {
  if (options.database.empty()) {
    std::error_code error;
    std::filesystem::create_directories(options.data_dir, error);
    if (error) {
      std::cerr << "velnor-server: cannot create " << options.data_dir << ": " << error.message() << '\n';
      return 1;
    }
  }
  const auto www_dir = options.www_dir.empty() ? default_www_dir() : options.www_dir;
  // A certificate that will not do is told before anything else is begun.
  std::unique_ptr<TlsCertificate> tls;
  if (!options.tls_certificate.empty())
    tls = std::make_unique<TlsCertificate>(options.tls_certificate, options.tls_key);

  // Signals go to one thread that asks the server to stop, or on SIGHUP (a service manager's
  // reload) reads the certificate again; every other thread keeps them blocked.
  sigset_t handled_signals;
  sigemptyset(&handled_signals);
  sigaddset(&handled_signals, SIGTERM);
  sigaddset(&handled_signals, SIGINT);
  sigaddset(&handled_signals, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &handled_signals, nullptr);
  ::signal(SIGPIPE, SIG_IGN);

  // Made before the store, so that it outlives the store's change listener, which invalidates it.
  PageCache page_cache;
  const auto store = open_score_store(options.database_address());
  store->follow_changes([&page_cache] { page_cache.invalidate(); });
  RateLimiter post_limiter(static_cast<size_t>(options.post_limit));
  RateLimiter seed_limiter(static_cast<size_t>(options.seed_limit));
  std::unique_ptr<AccessLog> access_log;
  if (options.access_log) access_log = std::make_unique<AccessLog>(STDOUT_FILENO);
  const SeedTickets seed_tickets(store->ticket_key());
  DealtGames dealt_games(*store, seed_tickets);
  Routes routes(*store, page_cache, post_limiter, seed_limiter, seed_tickets, dealt_games,
                {options.release_dir, www_dir, options.trusted_proxies});
  // The store's work waits on the database: enough workers that postings and rolls fill the group
  // commits, with a thousand games asking for rolls at once.
  WorkerPool store_work(std::max(64u, 16 * std::thread::hardware_concurrency()));
  HttpServer::Limits limits;
  limits.io_threads = std::max(1u, std::thread::hardware_concurrency());
  limits.max_connections = static_cast<size_t>(options.max_connections);
  limits.max_per_address = static_cast<size_t>(options.max_per_address);
  HttpServer server(limits, routes, store_work, access_log.get(), tls.get());

  if (!server.bind(options.listen_address, options.port)) {
    std::cerr << "velnor-server: cannot listen on " << options.listen_address << " port " << options.port << ": "
              << std::strerror(errno) << '\n';
    return 1;
  }
  std::cerr << "velnor-server: serving " << (tls ? "https://" : "http://") << options.listen_address << ':'
            << options.port << "/ (scores in " << options.database_address() << ", at most " << server.max_connections()
            << " connections)\n";

  std::atomic<bool> signalled = false;
  std::thread signal_waiter([&] {
    int signal_number = 0;
    while (sigwait(&handled_signals, &signal_number) == 0 && signal_number == SIGHUP) {
      if (!tls) {
        std::cerr << "velnor-server: plain HTTP has no certificate to read again\n";
        continue;
      }
      try {
        tls->reload();
        std::cerr << "velnor-server: read the certificate and key again\n";
      } catch (const TlsCertificate::Unusable& e) {
        std::cerr << "velnor-server: kept the certificate in use: " << e.what() << '\n';
      }
    }
    signalled = true;
    server.stop();
  });
  // Returns after stop() once the replies under way are written: each posting commits before its answer.
  const bool served = server.serve();
  store_work.shutdown();
  if (!signalled) pthread_kill(signal_waiter.native_handle(), SIGTERM);
  signal_waiter.join();
  if (!served) {
    std::cerr << "velnor-server: the listening socket failed\n";
    return 1;
  }
  std::cerr << "velnor-server: stopped\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  ServerOptions options;
  try {
    options = parse_options(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const OptionsError& e) {
    // One line for one mistake; the whole usage is a --help away.
    std::cerr << "velnor-server: " << e.what() << " (velnor-server --help lists the options)\n";
    return 2;
  }
  if (options.show_help) {
    std::cout << kUsage;
    return 0;
  }
  if (options.show_version) {
    std::cout << "velnor-server " << velnor::kVersion << '\n';
    return 0;
  }
  try {
    return options.copy_from.empty() ? run(options) : copy(options);
  } catch (const std::exception& e) {
    std::cerr << "velnor-server: " << e.what() << '\n';
    return 1;
  }
}
