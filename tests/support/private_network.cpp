#include "private_network.h"

#include <fcntl.h>
#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace velnor::testing {

namespace {

bool write_text(const char* path, const std::string& text) {
  const int fd = open(path, O_WRONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  close(fd);
  return ok;
}

}  // namespace

bool enter_private_network(std::string& why) {
  if (unshare(CLONE_NEWNET) != 0) {
    const uid_t uid = geteuid();
    const gid_t gid = getegid();
    if (unshare(CLONE_NEWUSER | CLONE_NEWNET) != 0) {
      why = std::string("unshare: ") + std::strerror(errno);
      return false;
    }
    write_text("/proc/self/setgroups", "deny");
    if (!write_text("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1\n") ||
        !write_text("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1\n")) {
      why = "cannot map the user into the new user namespace";
      return false;
    }
  }
  const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  ifreq request{};
  std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
  const bool up = fd >= 0 && ioctl(fd, SIOCGIFFLAGS, &request) == 0 &&
                  (request.ifr_flags |= IFF_UP, ioctl(fd, SIOCSIFFLAGS, &request) == 0);
  if (fd >= 0) close(fd);
  if (!up) why = std::string("cannot bring up the loopback: ") + std::strerror(errno);
  return up;
}

void clear_proxy_settings() {
  for (const char* name :
       {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY", "no_proxy", "NO_PROXY"})
    unsetenv(name);
}

bool prepare_private_network(int argc, char** argv) {
  clear_proxy_settings();
  std::string why;
  if (listing_only(argc, argv) || enter_private_network(why)) return true;
  std::fprintf(stderr, "These tests need a private network namespace: %s\n", why.c_str());
  return false;
}

bool listing_only(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--gtest_list_tests") == 0) return true;
  return false;
}

}  // namespace velnor::testing
