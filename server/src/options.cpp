#include "options.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "core/wire.h"

const std::string kUsage =
    "Usage: velnor-server [--listen ADDR] [--port N] [--database URL | --data DIR] [--release DIR]\n"
    "                     [--www DIR] [--post-limit N] [--seed-limit N] [--max-connections N]\n"
    "                     [--max-per-address N] [--trust-proxy ADDR]... [--no-access-log]\n"
    "                     [--tls-cert FILE --tls-key FILE]\n"
    "       velnor-server --copy-scores FROM TO\n"
    "       velnor-server --help | --version\n"
    "  --listen ADDR          address to listen on (default 127.0.0.1)\n"
    "  --port N               port to listen on (default 80)\n"
    "  --database URL         the score store: a file path or sqlite:PATH for SQLite,\n"
    "                         postgresql://... for PostgreSQL (default ./data/scores.db)\n"
    "  --data DIR             keep the SQLite store as DIR/scores.db (default ./data)\n"
    "  --release DIR          folder of " +
    std::string(velnor::wire::kVersionFile) + " and " + std::string(velnor::wire::kInstallerFile) +
    " (default ./release)\n"
    "  --www DIR              folder of the home and multiplayer pages (default: www beside the program,\n"
    "                         else the installed pages)\n"
    "  --post-limit N         score postings a minute from one address, 0 for no limit (default 10)\n"
    "  --seed-limit N         games' seeds dealt a minute to one address, 0 for no limit (default 60)\n"
    "  --max-connections N    connections held open at once; more are refused with status 503 (default 1024)\n"
    "  --max-per-address N    connections held open at once from one address, the trusted proxies apart;\n"
    "                         more are refused with status 503 (default 64)\n"
    "  --trust-proxy ADDR     take the client's address from X-Forwarded-For on connections from ADDR\n"
    "                         (a proxy or load balancer); may be given more than once\n"
    "  --no-access-log        do not log each request on standard output\n"
    "  --tls-cert FILE        serve HTTPS with this PEM certificate (its chain after it), read again on SIGHUP\n"
    "  --tls-key FILE         the PEM private key of --tls-cert\n"
    "  --copy-scores FROM TO  copy every score from one store to another (empty) one, check the counts, end\n";

namespace {

int parse_number(const std::string& option, const std::string& text, int low, int high) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end || value < low || value > high)
    throw OptionsError(option + " needs a whole number from " + std::to_string(low) + " to " + std::to_string(high) +
                       ", not \"" + text + "\"");
  return value;
}

constexpr std::array kValued = {
    "--listen",      "--port",       "--data",       "--database",        "--release",
    "--www",         "--post-limit", "--seed-limit", "--max-connections", "--max-per-address",
    "--trust-proxy", "--tls-cert",   "--tls-key"};

}  // namespace

std::string ServerOptions::database_address() const {
  return database.empty() ? (data_dir / "scores.db").string() : database;
}

ServerOptions parse_options(const std::vector<std::string>& args) {
  ServerOptions options;
  bool data_given = false;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i];
    std::string value;
    bool has_value = false;
    if (const auto eq = name.find('='); name.starts_with("--") && eq != std::string::npos) {
      value = name.substr(eq + 1);
      name.resize(eq);
      has_value = true;
    }
    if (name == "--help" || name == "-h") {
      options.show_help = true;
      continue;
    }
    if (name == "--version" && !has_value) {
      options.show_version = true;
      continue;
    }
    if (name == "--no-access-log" && !has_value) {
      options.access_log = false;
      continue;
    }
    if (name == "--copy-scores" && !has_value) {
      if (i + 2 >= args.size()) throw OptionsError("--copy-scores needs two stores: FROM TO");
      options.copy_from = args[++i];
      options.copy_to = args[++i];
      if (options.copy_from.empty() || options.copy_to.empty())
        throw OptionsError("--copy-scores needs two stores: FROM TO");
      continue;
    }
    if (std::find(kValued.begin(), kValued.end(), name) == kValued.end())
      throw OptionsError("unknown option \"" + name + "\"");
    if (!has_value) {
      if (i + 1 >= args.size()) throw OptionsError(name + " needs a value");
      value = args[++i];
    }
    if (name == "--listen") {
      if (value.empty()) throw OptionsError("--listen needs an address");
      options.listen_address = value;
    } else if (name == "--port") {
      options.port = parse_number(name, value, 1, 65535);
    } else if (name == "--post-limit") {
      options.post_limit = parse_number(name, value, 0, 1000000);
    } else if (name == "--seed-limit") {
      options.seed_limit = parse_number(name, value, 0, 1000000);
    } else if (name == "--max-connections") {
      options.max_connections = parse_number(name, value, 1, 1000000);
    } else if (name == "--max-per-address") {
      options.max_per_address = parse_number(name, value, 1, 1000000);
    } else if (name == "--trust-proxy") {
      if (value.empty()) throw OptionsError("--trust-proxy needs an address");
      options.trusted_proxies.push_back(value);
    } else if (name == "--tls-cert" || name == "--tls-key") {
      if (value.empty()) throw OptionsError(name + " needs a file");
      (name == "--tls-cert" ? options.tls_certificate : options.tls_key) = value;
    } else if (name == "--database") {
      if (value.empty()) throw OptionsError("--database needs a store's address");
      options.database = value;
    } else {
      if (value.empty()) throw OptionsError(name + " needs a folder");
      if (name == "--data") data_given = true;
      (name == "--data" ? options.data_dir : name == "--release" ? options.release_dir : options.www_dir) = value;
    }
  }
  if (data_given && !options.database.empty()) throw OptionsError("give --database or --data, not both");
  if (options.tls_certificate.empty() != options.tls_key.empty())
    throw OptionsError("give --tls-cert and --tls-key together");
  return options;
}
