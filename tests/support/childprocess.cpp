#include "childprocess.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace velnor::testing {

int connect_loopback(int port, const char* from) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (from) {
    sockaddr_in source{};
    source.sin_family = AF_INET;
    ::inet_pton(AF_INET, from, &source.sin_addr);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&source), sizeof source) != 0) {
      ::close(fd);
      return -1;
    }
  }
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

int free_loopback_port() {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
    throw std::runtime_error("no free loopback port");
  ::close(fd);
  return ntohs(address.sin_port);
}

ChildProgram::ChildProgram(const std::filesystem::path& folder, std::vector<std::string> arguments,
                           std::filesystem::path log)
    : log_(std::move(log)) {
  std::vector<char*> argv;
  for (auto& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  const std::string log_file = log_.string();
  pid_ = ::fork();
  if (pid_ == 0) {
    // It dies with the test, whatever ends the test.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    const int out = ::open(log_file.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (out < 0 || ::chdir(folder.c_str()) != 0) _exit(126);
    ::dup2(out, STDOUT_FILENO);
    ::dup2(out, STDERR_FILENO);
    ::execvp(argv[0], argv.data());
    _exit(127);
  }
  if (pid_ < 0) throw std::runtime_error("fork failed");
  pidfd_ = static_cast<int>(::syscall(SYS_pidfd_open, pid_, 0));
  if (pidfd_ < 0) throw std::runtime_error("pidfd_open failed");
}

ChildProgram::~ChildProgram() {
  if (running()) stop();
}

bool ChildProgram::ended() const {
  pollfd ended{pidfd_, POLLIN, 0};
  return ::poll(&ended, 1, 0) > 0;
}

bool ChildProgram::wait_for_port(int port, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    const int fd = connect_loopback(port);
    if (fd >= 0) {
      ::close(fd);
      return true;
    }
    if (ended() || std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

int ChildProgram::wait() {
  pollfd ended{pidfd_, POLLIN, 0};
  if (::poll(&ended, 1, static_cast<int>(std::chrono::milliseconds(kDeadline).count())) <= 0) ::kill(pid_, SIGKILL);
  int status = 0;
  ::waitpid(pid_, &status, 0);
  ::close(pidfd_);
  pid_ = -1;
  pidfd_ = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

int ChildProgram::stop() {
  ::kill(pid_, SIGTERM);
  return wait();
}

void ChildProgram::signal(int number) const { ::kill(pid_, number); }

std::string ChildProgram::log() const {
  std::ifstream file(log_);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace velnor::testing
