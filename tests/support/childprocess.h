#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

// A program that a test starts and stops: a server, a proxy, the game's web server. Its output
// goes to a log file; it is ended (SIGTERM, then SIGKILL) at the latest with the object.
namespace velnor::testing {

class ChildProgram {
 public:
  static constexpr std::chrono::seconds kDeadline{20};

  // Starts argv (argv[0] a path or a name on PATH) in folder, its output appended to log.
  ChildProgram(const std::filesystem::path& folder, std::vector<std::string> argv, std::filesystem::path log);
  ~ChildProgram();
  ChildProgram(const ChildProgram&) = delete;
  ChildProgram& operator=(const ChildProgram&) = delete;

  // Returns once a connection to 127.0.0.1:port is accepted; false when the program ended first
  // or the deadline passed.
  bool wait_for_port(int port, std::chrono::milliseconds limit = kDeadline);
  // Waits for the program to end by itself (or for the deadline, then kills it); its exit status.
  int wait();
  // Sends SIGTERM, then waits; the exit status.
  int stop();
  // Sends `number` (SIGHUP, say) and returns at once.
  void signal(int number) const;
  bool running() const { return pid_ > 0; }
  bool ended() const;
  std::string log() const;

 private:
  std::filesystem::path log_;
  pid_t pid_ = -1;
  int pidfd_ = -1;
};

// A plain TCP connection to `port` on 127.0.0.1 (from the loopback address `from`, if given): its
// socket, or -1.
int connect_loopback(int port, const char* from = nullptr);

// A loopback port that nothing listens on at the moment.
int free_loopback_port();

}  // namespace velnor::testing
