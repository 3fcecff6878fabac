#pragma once

#include <filesystem>
#include <string>
#include <vector>

// A PostgreSQL cluster of the test's own: made with initdb in a fresh temporary folder, listening on
// a Unix socket in that folder only (no TCP), removed with the object. No system cluster or service
// is used or touched. PostgreSQL refuses to run as root, so as root its programs run as Debian's
// `postgres` user through runuser.
class PgCluster {
 public:
  PgCluster();
  ~PgCluster();
  PgCluster(const PgCluster&) = delete;
  PgCluster& operator=(const PgCluster&) = delete;

  void start();
  // A fast stop: connections are ended, as when the database server goes away.
  void stop();
  // An immediate stop: every process of the cluster ends at once, as in a crash, and it recovers
  // at the next start.
  void crash();
  bool running() const { return running_; }

  // A new, empty database; returns its address for --database.
  std::string create_database();
  // Runs one statement as the cluster's superuser in the database at `address`; returns the first
  // value of its answer (empty when there is none). Throws on failure.
  static std::string query(const std::string& address, const std::string& sql);

 private:
  std::string address(const std::string& database) const;
  void stop_in_mode(const std::string& mode);
  void run(const std::vector<std::string>& argv) const;

  std::filesystem::path folder_;
  std::filesystem::path bin_;
  bool as_postgres_ = false;
  bool running_ = false;
  int databases_ = 0;
};

// One cluster for the whole test program, made at first use.
PgCluster& shared_pg_cluster();
