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
#include <string_view>
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
  const int fd = connect_loopback(port);
  if (fd >= 0) ::close(fd);
  return fd >= 0;
}

// Starts a program (argv[0], a path) in `folder` with its output appended to `log_file`; returns a pidfd.
pid_t spawn_program(const std::filesystem::path& folder, std::vector<std::string> arguments, const std::filesystem::path& log_path,
                    int& pidfd)
{
  std::vector<char*> argv;
  for (auto& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  const std::string log_file = log_path.string();

  const pid_t pid = ::fork();
  if (pid == 0) {
    const int log = ::open(log_file.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (log < 0 || ::chdir(folder.c_str()) != 0) _exit(126);
    ::dup2(log, STDOUT_FILENO);
    ::dup2(log, STDERR_FILENO);
    ::execvp(argv[0], argv.data());
    _exit(127);
  }
  if (pid < 0) throw std::runtime_error("fork failed");
  pidfd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
  if (pidfd < 0) throw std::runtime_error("pidfd_open failed");
  return pid;
}

// Starts velnor-server in `folder` with its output in server.log there.
pid_t spawn(const std::filesystem::path& folder, std::vector<std::string> arguments, int& pidfd)
{
  arguments.insert(arguments.begin(), VELNOR_SERVER_PROGRAM);
  return spawn_program(folder, std::move(arguments), folder / "server.log", pidfd);
}

// Waits for the program's end until the deadline, then ends it; returns its exit status.
int reap(pid_t pid, int pidfd)
{
  pollfd ended{pidfd, POLLIN, 0};
  if (::poll(&ended, 1, static_cast<int>(std::chrono::milliseconds(kDeadline).count())) <= 0) ::kill(pid, SIGKILL);
  int status = 0;
  ::waitpid(pid, &status, 0);
  ::close(pidfd);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

long games_posted(const std::string& page)
{
  static constexpr std::string_view kLabel = "Games posted: ";
  const size_t at = page.find(kLabel);
  if (at == std::string::npos) return -1;
  const char* digits = page.c_str() + at + kLabel.size();
  char* end = nullptr;
  const long count = std::strtol(digits, &end, 10);
  return end == digits ? -1 : count;
}

int connect_loopback(int port)
{
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
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

int run_to_end(const std::filesystem::path& folder, const std::vector<std::string>& argv, const std::filesystem::path& log)
{
  int pidfd = -1;
  const pid_t pid = spawn_program(folder, argv, log, pidfd);
  return reap(pid, pidfd);
}

int run_server_to_end(const std::filesystem::path& folder, const std::vector<std::string>& arguments)
{
  int pidfd = -1;
  const pid_t pid = spawn(folder, arguments, pidfd);
  return reap(pid, pidfd);
}

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
  std::vector<std::string> arguments = {"--listen", "127.0.0.1", "--port", std::to_string(port_)};
  arguments.insert(arguments.end(), extra_arguments_.begin(), extra_arguments_.end());
  pid_ = spawn(folder_, arguments, pidfd_);

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
  const int status = reap(pid_, pidfd_);
  pid_ = -1;
  pidfd_ = -1;
  return status;
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
