// Runs the tests inside a network namespace of their own: its loopback is
// private, so a test server can take port 80, and nothing reaches another host.
#include <gtest/gtest.h>

#include "support/private_network.h"

int main(int argc, char** argv) {
  if (!velnor::testing::prepare_private_network(argc, argv)) return 1;
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
