#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

// How velnor-server was asked to run.
struct ServerOptions {
  std::string listen_address = "127.0.0.1";
  int port = 80;
  std::filesystem::path data_dir = "data";
  std::filesystem::path release_dir = "release";
  std::filesystem::path www_dir;  // empty until resolved: the folder beside the program
  int post_limit = 10;             // postings a minute from one address; 0 = no limit
  bool show_help = false;
};

class OptionsError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads the command line (without the program name). Throws OptionsError on anything it does not know.
ServerOptions parse_options(const std::vector<std::string>& args);

extern const char* const kUsage;
