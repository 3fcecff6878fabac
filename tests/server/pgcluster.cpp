#include "pgcluster.h"

#include <libpq-fe.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "serverprocess.h"

namespace {

// Where Debian keeps the server's programs (they are not on the PATH); pg_config comes with libpq-dev.
std::filesystem::path server_programs() {
  std::string folder;
  if (FILE* pipe = ::popen("pg_config --bindir 2>/dev/null", "r")) {
    char line[512];
    if (std::fgets(line, sizeof line, pipe)) folder = line;
    ::pclose(pipe);
  }
  while (!folder.empty() && (folder.back() == '\n' || folder.back() == ' ')) folder.pop_back();
  if (folder.empty() || !std::filesystem::exists(std::filesystem::path(folder) / "initdb"))
    throw std::runtime_error(
        "PostgreSQL's server programs are missing (Debian package postgresql; scripts/deps.sh lists it)");
  return folder;
}

std::string file_text(const std::filesystem::path& path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace

PgCluster::PgCluster() : bin_(server_programs()), as_postgres_(::geteuid() == 0) {
  std::string pattern = (std::filesystem::temp_directory_path() / "velnor-pg-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  folder_ = pattern;
  if (as_postgres_) {
    const passwd* user = ::getpwnam("postgres");
    if (!user) throw std::runtime_error("no postgres user to run PostgreSQL as (Debian package postgresql makes it)");
    if (::chown(folder_.c_str(), user->pw_uid, user->pw_gid) != 0)
      throw std::runtime_error("cannot hand the folder to postgres");
  }
  // The socket in it must be reachable by the tests' own user.
  std::filesystem::permissions(folder_, std::filesystem::perms::owner_all | std::filesystem::perms::group_exec |
                                            std::filesystem::perms::others_exec);
  run({(bin_ / "initdb").string(), "-D", (folder_ / "data").string(), "-U", "velnor", "-A", "trust", "-E", "UTF8",
       "--locale=C", "--no-sync"});
  start();
}

PgCluster::~PgCluster() {
  try {
    if (running_) stop();
  } catch (const std::exception&) {
    // Removing the folder below still ends a cluster whose stop failed: it shuts down when its data goes.
  }
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

void PgCluster::run(const std::vector<std::string>& argv) const {
  std::vector<std::string> command;
  if (as_postgres_) command = {"runuser", "-u", "postgres", "--"};
  command.insert(command.end(), argv.begin(), argv.end());
  // The log lies outside the cluster's folder, which the postgres user owns.
  const auto log = std::filesystem::temp_directory_path() / (folder_.filename().string() + ".log");
  const int status = run_to_end(folder_, command, log);
  const std::string output = file_text(log);
  std::filesystem::remove(log);
  if (status != 0) throw std::runtime_error(argv[0] + " failed with status " + std::to_string(status) + ":\n" + output);
}

void PgCluster::start() {
  // No TCP at all; the socket and nothing else in the cluster's folder. No sync to disk: the tests
  // stop the database, they do not pull the power.
  run({(bin_ / "pg_ctl").string(), "-D", (folder_ / "data").string(), "-l", (folder_ / "server.log").string(), "-w",
       "-t", "30", "-o", "-c listen_addresses='' -k " + folder_.string() + " -c fsync=off -c max_connections=200",
       "start"});
  running_ = true;
}

void PgCluster::stop() { stop_in_mode("fast"); }

void PgCluster::crash() { stop_in_mode("immediate"); }

void PgCluster::stop_in_mode(const std::string& mode) {
  run({(bin_ / "pg_ctl").string(), "-D", (folder_ / "data").string(), "-m", mode, "-w", "-t", "30", "stop"});
  running_ = false;
}

std::string PgCluster::address(const std::string& database) const {
  return "postgresql://velnor@/" + database + "?host=" + folder_.string();
}

std::string PgCluster::create_database() {
  const std::string name = "scores" + std::to_string(++databases_);
  query(address("postgres"), "CREATE DATABASE " + name);
  return address(name);
}

std::string PgCluster::query(const std::string& address, const std::string& sql) {
  PGconn* conn = PQconnectdb(address.c_str());
  if (PQstatus(conn) != CONNECTION_OK) {
    const std::string message = PQerrorMessage(conn);
    PQfinish(conn);
    throw std::runtime_error("cannot connect to " + address + ": " + message);
  }
  PGresult* result = PQexec(conn, sql.c_str());
  const auto status = PQresultStatus(result);
  std::string value;
  if (status == PGRES_TUPLES_OK && PQntuples(result) > 0) value = PQgetvalue(result, 0, 0);
  const std::string message = PQerrorMessage(conn);
  PQclear(result);
  PQfinish(conn);
  if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) throw std::runtime_error(sql + ": " + message);
  return value;
}

PgCluster& shared_pg_cluster() {
  static PgCluster cluster;
  return cluster;
}
