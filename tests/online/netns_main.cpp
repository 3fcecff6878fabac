// Runs the tests inside a network namespace of their own: its loopback is
// private, so a test server can take port 80, and nothing reaches another host.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/private_network.h"

int main(int argc, char** argv) {
  velnor::testing::clear_proxy_settings();
  std::string why;
  if (!velnor::testing::listing_only(argc, argv) && !velnor::testing::enter_private_network(why)) {
    std::fprintf(stderr, "These tests need a private network namespace: %s\n", why.c_str());
    return 1;
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
