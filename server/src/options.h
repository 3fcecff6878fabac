#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

// How velnor-server was asked to run.
struct ServerOptions {
  std::string listen_address = "127.0.0.1";
  int port = 80;
  std::filesystem::path data_dir = "data";  // the SQLite file's folder when --database is not given
  std::string database;                     // a store's address (see kUsage); empty: scores.db in data_dir
  std::filesystem::path release_dir = "release";
  std::filesystem::path www_dir;  // empty until resolved: beside the program, else the installed pages
  int post_limit = 10;            // postings a minute from one address; 0 = no limit
  int seed_limit = 60;            // games' seeds a minute to one address; 0 = no limit
  int max_connections = 1024;
  int max_per_address = 64;
  std::vector<std::string> trusted_proxies;  // peers whose X-Forwarded-For names the client
  bool access_log = true;
  std::filesystem::path tls_certificate;  // with tls_key: serve TLS; both empty: plain HTTP
  std::filesystem::path tls_key;
  std::string copy_from;  // with copy_to: copy every score from one store to another, then end
  std::string copy_to;
  bool show_help = false;
  bool show_version = false;

  // The store the server uses: --database, or the SQLite file in the data folder.
  std::string database_address() const;
};

class OptionsError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads the command line (without the program name). Throws OptionsError on anything it does not know.
ServerOptions parse_options(const std::vector<std::string>& args);

extern const std::string kUsage;
