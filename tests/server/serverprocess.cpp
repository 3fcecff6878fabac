#include "serverprocess.h"

#include <stdlib.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <thread>

using velnor::testing::ChildProgram;
using velnor::testing::free_loopback_port;

namespace {

std::vector<std::string> server_argv(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), VELNOR_SERVER_PROGRAM);
  return arguments;
}

}  // namespace

long games_posted(const std::string& page) {
  static constexpr std::string_view kLabel = "Games posted: ";
  const size_t at = page.find(kLabel);
  if (at == std::string::npos) return -1;
  const char* digits = page.c_str() + at + kLabel.size();
  char* end = nullptr;
  const long count = std::strtol(digits, &end, 10);
  return end == digits ? -1 : count;
}

int run_to_end(const std::filesystem::path& folder, const std::vector<std::string>& argv,
               const std::filesystem::path& log) {
  return ChildProgram(folder, argv, log).wait();
}

int run_server_to_end(const std::filesystem::path& folder, const std::vector<std::string>& arguments) {
  return run_to_end(folder, server_argv(arguments), folder / "server.log");
}

ServerProcess::ServerProcess(std::filesystem::path folder, std::vector<std::string> extra_arguments)
    : folder_(std::move(folder)), extra_arguments_(std::move(extra_arguments)) {
  start();
}

ServerProcess::~ServerProcess() = default;

void ServerProcess::start() {
  port_ = free_loopback_port();
  std::vector<std::string> arguments = {"--listen", "127.0.0.1", "--port", std::to_string(port_)};
  arguments.insert(arguments.end(), extra_arguments_.begin(), extra_arguments_.end());
  program_ = std::make_unique<ChildProgram>(folder_, server_argv(arguments), folder_ / "server.log");
  if (!program_->wait_for_port(port_)) {
    const bool ended = program_->ended();
    program_.reset();
    throw std::runtime_error(std::string(ended ? "velnor-server ended at start:\n" : "velnor-server did not start:\n") +
                             log());
  }
}

int ServerProcess::stop() {
  const int status = program_->stop();
  program_.reset();
  return status;
}

std::string ServerProcess::log() const {
  std::ifstream file(folder_ / "server.log");
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

bool ServerProcess::wait_for_log(const std::string& text) const {
  const auto deadline = std::chrono::steady_clock::now() + ChildProgram::kDeadline;
  while (log().find(text) == std::string::npos) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "velnor-server-test-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}
