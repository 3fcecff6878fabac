// The download client against a real web server that none of us wrote: nginx,
// started here on a free loopback port with a private configuration and folder.
#include "online/thttpcli.h"

#include "support/childprocess.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>

extern char** environ;

using velnor::EHttpException;
using velnor::THttpCli;
namespace fs = std::filesystem;

namespace {

void put_file(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string file_bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

fs::path find_nginx() {
  for (const char* candidate : {"/usr/sbin/nginx", "/usr/bin/nginx", "/usr/local/sbin/nginx"})
    if (::access(candidate, X_OK) == 0) return candidate;
  return {};
}

class NginxServer {
 public:
  NginxServer() {
    char pattern[] = "/tmp/velnor_nginx_XXXXXX";
    if (::mkdtemp(pattern) == nullptr) return;
    dir_ = pattern;
    std::mt19937 random(7);
    std::string installer(3 * 1024 * 1024 + 17, '\0');
    for (char& c : installer) c = static_cast<char>(random());
    put_file(dir_ / "www/velnorsolo/vnssetup.exe", installer);
    put_file(dir_ / "www/velnorsolo/empty.exe", "");
    put_file(dir_ / "www/private/secret.txt", "only for velnor\n");
    put_file(dir_ / "htpasswd", "velnor:{PLAIN}dice-pass\n");
    fs::create_directories(dir_ / "temp");

    const fs::path nginx = find_nginx();
    if (nginx.empty()) {
      problem_ = "nginx is not installed (scripts/deps.sh installs it)";
      return;
    }
    // Another program may take the probed port before nginx binds it: try anew.
    for (int attempt = 0; attempt < 5 && !program_; ++attempt) start(nginx, velnor::testing::free_loopback_port());
    if (!program_) problem_ = "nginx did not start: " + file_bytes(dir_ / "error.log");
  }

  ~NginxServer() {
    program_.reset();
    if (!dir_.empty()) fs::remove_all(dir_);
  }

  const std::string& problem() const { return problem_; }
  const fs::path& dir() const { return dir_; }
  std::string url(const std::string& path, const std::string& user_info = "") const {
    return "http://" + user_info + "127.0.0.1:" + std::to_string(port_) + path;
  }

 private:
  void start(const fs::path& nginx, std::uint16_t port) {
    const std::string d = dir_.string();
    const std::string config =
        "daemon off;\n"
        "master_process off;\n"
        "pid " +
        d +
        "/nginx.pid;\n"
        "error_log " +
        d +
        "/error.log;\n"
        "events { worker_connections 64; }\n"
        "http {\n"
        "  access_log " +
        d +
        "/access.log;\n"
        "  client_body_temp_path " +
        d +
        "/temp/body;\n"
        "  proxy_temp_path " +
        d +
        "/temp/proxy;\n"
        "  fastcgi_temp_path " +
        d +
        "/temp/fastcgi;\n"
        "  uwsgi_temp_path " +
        d +
        "/temp/uwsgi;\n"
        "  scgi_temp_path " +
        d +
        "/temp/scgi;\n"
        "  default_type application/octet-stream;\n"
        "  server {\n"
        "    listen 127.0.0.1:" +
        std::to_string(port) +
        ";\n"
        "    root " +
        d +
        "/www;\n"
        "    location = /velnorsolo/moved.exe { return 302 /velnorsolo/vnssetup.exe; }\n"
        "    location = /velnorsolo/near.exe { absolute_redirect off; return 302 /velnorsolo/vnssetup.exe; }\n"
        "    location = /velnorsolo/beside.exe { absolute_redirect off; return 302 vnssetup.exe; }\n"
        "    location /private/ { auth_basic \"Velnor\"; auth_basic_user_file " +
        d +
        "/htpasswd; }\n"
        "  }\n"
        "}\n";
    put_file(dir_ / "nginx.conf", config);
    fs::remove(dir_ / "nginx.pid");

    auto program = std::make_unique<velnor::testing::ChildProgram>(
        dir_,
        std::vector<std::string>{nginx.string(), "-p", d + "/", "-c", (dir_ / "nginx.conf").string(), "-e",
                                 (dir_ / "error.log").string()},
        dir_ / "output.log");
    if (!program->wait_for_port(port)) return;
    program_ = std::move(program);
    port_ = port;
  }

  fs::path dir_;
  std::string problem_;
  std::unique_ptr<velnor::testing::ChildProgram> program_;
  int port_ = 0;
};

class NginxTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { server_ = new NginxServer; }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
  }
  void SetUp() override { ASSERT_EQ(server_->problem(), ""); }

  // The body on success; the exception's status and reason otherwise.
  std::string fetch(const std::string& url, int* status = nullptr, std::string* reason = nullptr) {
    std::ostringstream body;
    client_.URL = url;
    client_.BodyStream = &body;
    try {
      client_.GetSync();
    } catch (const EHttpException& e) {
      if (status != nullptr) *status = e.status();
      if (reason != nullptr) *reason = e.what();
    }
    client_.BodyStream = nullptr;
    return body.str();
  }

  static NginxServer* server_;
  THttpCli client_;
};

NginxServer* NginxTest::server_ = nullptr;

TEST_F(NginxTest, DownloadsAFileWhole) {
  const std::string expected = file_bytes(server_->dir() / "www/velnorsolo/vnssetup.exe");
  const std::string body = fetch(server_->url("/velnorsolo/vnssetup.exe"));
  EXPECT_EQ(client_.status_code(), 200);
  EXPECT_EQ(client_.reason_phrase(), "OK");
  EXPECT_EQ(client_.content_type(), "application/octet-stream");
  EXPECT_TRUE(body == expected) << "received " << body.size() << " of " << expected.size() << " bytes";

  EXPECT_EQ(fetch(server_->url("/velnorsolo/empty.exe")), "");
  EXPECT_EQ(client_.status_code(), 200);
}

TEST_F(NginxTest, FollowsItsRedirections) {
  const std::string expected = file_bytes(server_->dir() / "www/velnorsolo/vnssetup.exe");
  for (const char* path : {"/velnorsolo/moved.exe", "/velnorsolo/near.exe", "/velnorsolo/beside.exe"}) {
    int status = 0;
    std::string reason;
    const std::string body = fetch(server_->url(path), &status, &reason);
    EXPECT_EQ(reason, "") << path;
    EXPECT_TRUE(body == expected) << path << ": received " << body.size() << " bytes";
  }
}

TEST_F(NginxTest, MissingFileRaisesNotFound) {
  int status = 0;
  std::string reason;
  fetch(server_->url("/velnorsolo/missing.exe"), &status, &reason);
  EXPECT_EQ(status, 404);
  EXPECT_EQ(reason, "Not Found");
}

TEST_F(NginxTest, UserInTheAddressAuthorises) {
  int status = 0;
  std::string reason;
  fetch(server_->url("/private/secret.txt"), &status, &reason);
  EXPECT_EQ(status, 401);
  EXPECT_EQ(reason, "Unauthorized");

  status = 0;
  reason.clear();
  EXPECT_EQ(fetch(server_->url("/private/secret.txt", "velnor:dice-pass@"), &status, &reason), "only for velnor\n");
  EXPECT_EQ(reason, "");
}

}  // namespace
