#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "support/childprocess.h"

using velnor::testing::connect_loopback;

// The real velnor-server program, run in a folder of its own on a free loopback port.
class ServerProcess {
 public:
  ServerProcess(std::filesystem::path folder, std::vector<std::string> extra_arguments);
  ~ServerProcess();
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;

  // Starts the program and returns once its port accepts connections.
  void start();
  // Sends SIGTERM and returns the exit status once the program has ended.
  int stop();
  void signal(int number) const { program_->signal(number); }
  // Waits until the log holds `text` (or 20 seconds pass); whether it does.
  bool wait_for_log(const std::string& text) const;

  bool running() const { return program_ != nullptr; }
  int port() const { return port_; }
  std::string log() const;

 private:
  std::filesystem::path folder_;
  std::vector<std::string> extra_arguments_;
  int port_ = 0;
  std::unique_ptr<velnor::testing::ChildProgram> program_;
};

// The number of games the high-score page says were posted, or -1 when it says none.
long games_posted(const std::string& page);

// Runs a program (argv[0], a path) in `folder`, its output appended to `log`, until it ends by
// itself (or for 20 seconds at most); returns its exit status.
int run_to_end(const std::filesystem::path& folder, const std::vector<std::string>& argv,
               const std::filesystem::path& log);

// Runs velnor-server with `arguments` in `folder` until it ends by itself; returns its exit status.
int run_server_to_end(const std::filesystem::path& folder, const std::vector<std::string>& arguments);

// A fresh folder under the system's temporary folder, removed with the object.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};
