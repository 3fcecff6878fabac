#pragma once

#include <string>

namespace velnor::testing {

// Moves the process into a network namespace of its own with the loopback up:
// a test server can take port 80, and nothing reaches another host. As root a
// new network namespace is enough; anyone else first takes a user namespace in
// which they are root (what `unshare -rn` does). Call before any thread starts.
bool enter_private_network(std::string& why);

// The machine's proxy settings must not steer the tests' requests; a test that
// wants a proxy sets one.
void clear_proxy_settings();

// True when the test program was asked only to list its tests.
bool listing_only(int argc, char** argv);

// What a test program's main does first: clears the proxy settings and, unless
// it only lists its tests, enters a private network. False (with the reason
// printed) when that cannot be done.
bool prepare_private_network(int argc, char** argv);

}  // namespace velnor::testing
