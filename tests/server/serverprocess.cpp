#include "serverprocess.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace {

constexpr auto kDeadline = std::chrono::seconds(20);

int free_loopback_port()
{
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
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

bool port_accepts(int port)
{
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return connected;
}

}  // namespace

ServerProcess::ServerProcess(std::filesystem::path folder, std::vector<std::string> extra_arguments)
    : folder_(std::move(folder)), extra_arguments_(std::move(extra_arguments))
{
  start();
}

ServerProcess::~ServerProcess()
{
  if (running()) stop();
}

void ServerProcess::start()
{
  port_ = free_loopback_port();
  std::vector<std::string> arguments = {VELNOR_SERVER_PROGRAM, "--listen", "127.0.0.1", "--port", std::to_string(port_)};
  arguments.insert(arguments.end(), extra_arguments_.begin(), extra_arguments_.end());
  std::vector<char*> argv;
  for (auto& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  const std::string log_file = (folder_ / "server.log").string();

  pid_ = ::fork();
  if (pid_ == 0) {
    const int log = ::open(log_file.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (log < 0 || ::chdir(folder_.c_str()) != 0) _exit(126);
    ::dup2(log, STDOUT_FILENO);
    ::dup2(log, STDERR_FILENO);
    ::execv(argv[0], argv.data());
    _exit(127);
  }
  if (pid_ < 0) throw std::runtime_error("fork failed");
  pidfd_ = static_cast<int>(::syscall(SYS_pidfd_open, pid_, 0));
  if (pidfd_ < 0) throw std::runtime_error("pidfd_open failed");

  const auto deadline = std::chrono::steady_clock::now() + kDeadline;
  while (!port_accepts(port_)) {
    pollfd ended{pidfd_, POLLIN, 0};
    if (::poll(&ended, 1, 0) > 0) throw std::runtime_error("velnor-server ended at start:\n" + log());
    if (std::chrono::steady_clock::now() > deadline) throw std::runtime_error("velnor-server did not start:\n" + log());
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

int ServerProcess::stop()
{
  ::kill(pid_, SIGTERM);
  pollfd ended{pidfd_, POLLIN, 0};
  if (::poll(&ended, 1, static_cast<int>(std::chrono::milliseconds(kDeadline).count())) <= 0) ::kill(pid_, SIGKILL);
  int status = 0;
  ::waitpid(pid_, &status, 0);
  ::close(pidfd_);
  pid_ = -1;
  pidfd_ = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string ServerProcess::log() const
{
  std::ifstream file(folder_ / "server.log");
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

TempFolder::TempFolder()
{
  std::string pattern = (std::filesystem::temp_directory_path() / "velnor-server-test-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempFolder::~TempFolder()
{
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}
