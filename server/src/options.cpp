#include "options.h"

#include <charconv>

const char* const kUsage =
    "Usage: velnor-server [--listen ADDR] [--port N] [--data DIR] [--release DIR] [--www DIR]\n"
    "                     [--post-limit N]\n"
    "  --listen ADDR     address to listen on (default 127.0.0.1)\n"
    "  --port N          port to listen on (default 80)\n"
    "  --data DIR        folder of the score database (default ./data)\n"
    "  --release DIR     folder of velnorsoloversion.txt and vnssetup.exe (default ./release)\n"
    "  --www DIR         folder of the home and multiplayer pages (default: www beside the program)\n"
    "  --post-limit N    score postings a minute from one address, 0 for no limit (default 10)\n";

namespace {

int parse_number(const std::string& option, const std::string& text, int low, int high)
{
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end || value < low || value > high)
    throw OptionsError(option + " needs a whole number from " + std::to_string(low) + " to " +
                       std::to_string(high) + ", not \"" + text + "\"");
  return value;
}

}  // namespace

ServerOptions parse_options(const std::vector<std::string>& args)
{
  ServerOptions options;
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
    if (name != "--listen" && name != "--port" && name != "--data" && name != "--release" &&
        name != "--www" && name != "--post-limit")
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
    } else {
      if (value.empty()) throw OptionsError(name + " needs a folder");
      (name == "--data" ? options.data_dir : name == "--release" ? options.release_dir : options.www_dir) = value;
    }
  }
  return options;
}
