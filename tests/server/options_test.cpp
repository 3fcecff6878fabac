// The command line of velnor-server.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "options.h"

namespace {

TEST(Options, DefaultsAndBothSpellingsOfValues) {
  const ServerOptions defaults = parse_options({});
  EXPECT_EQ(defaults.listen_address, "127.0.0.1");
  EXPECT_EQ(defaults.port, 80);
  EXPECT_EQ(defaults.data_dir, "data");
  EXPECT_EQ(defaults.release_dir, "release");
  EXPECT_TRUE(defaults.www_dir.empty());
  EXPECT_EQ(defaults.post_limit, 10);

  const ServerOptions given = parse_options(
      {"--listen", "::1", "--port=8080", "--data", "/srv/d", "--release=/srv/r", "--www", "w", "--post-limit", "0"});
  EXPECT_EQ(given.listen_address, "::1");
  EXPECT_EQ(given.port, 8080);
  EXPECT_EQ(given.data_dir, "/srv/d");
  EXPECT_EQ(given.release_dir, "/srv/r");
  EXPECT_EQ(given.www_dir, "w");
  EXPECT_EQ(given.post_limit, 0);
}

TEST(Options, RefusesWhatItDoesNotUnderstand) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{{"--port"},
                                                                                    {"--port", "0"},
                                                                                    {"--port", "65536"},
                                                                                    {"--port", "80x"},
                                                                                    {"--post-limit", "-1"},
                                                                                    {"--data", ""},
                                                                                    {"--verbose"},
                                                                                    {"stray"}}) {
    EXPECT_THROW(parse_options(args), OptionsError) << testing::PrintToString(args);
  }
}

TEST(Options, StoresProxiesAndTheCopy) {
  EXPECT_EQ(parse_options({}).database_address(), "data/scores.db");
  EXPECT_EQ(parse_options({"--data", "/srv/d"}).database_address(), "/srv/d/scores.db") << "--data keeps working";
  EXPECT_EQ(parse_options({"--database", "postgresql://db/scores"}).database_address(), "postgresql://db/scores");
  EXPECT_THROW(parse_options({"--data", "d", "--database", "sqlite:x.db"}), OptionsError);

  const ServerOptions given =
      parse_options({"--trust-proxy", "10.0.0.1", "--trust-proxy=::1", "--max-connections", "50", "--no-access-log"});
  EXPECT_EQ(given.trusted_proxies, (std::vector<std::string>{"10.0.0.1", "::1"}));
  EXPECT_EQ(given.max_connections, 50);
  EXPECT_FALSE(given.access_log);

  const ServerOptions copy = parse_options({"--copy-scores", "data/scores.db", "postgresql:///scores"});
  EXPECT_EQ(copy.copy_from, "data/scores.db");
  EXPECT_EQ(copy.copy_to, "postgresql:///scores");
  EXPECT_THROW(parse_options({"--copy-scores", "data/scores.db"}), OptionsError);
}

// The program as a packager meets it: --version prints and ends well; a mistake is one line that
// points to --help, not the whole usage.
TEST(Options, VersionAndAMistakeAsAShellSeesThem) {
  const auto run = [](const std::string& args) {
    FILE* pipe = popen((std::string(VELNOR_SERVER_PROGRAM) + " " + args + " 2>&1").c_str(), "r");
    std::string out;
    char buffer[256];
    while (pipe != nullptr && std::fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
    const int status = pipe != nullptr ? pclose(pipe) : -1;
    return std::make_pair(WIFEXITED(status) ? WEXITSTATUS(status) : -1, out);
  };
  EXPECT_EQ(run("--version"), std::make_pair(0, std::string("velnor-server " VELNOR_VERSION "\n")));
  EXPECT_EQ(run("--verbose"),
            std::make_pair(2, std::string("velnor-server: unknown option \"--verbose\" (velnor-server --help lists "
                                          "the options)\n")));
}

}  // namespace
