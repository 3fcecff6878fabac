// Entry point of the widget tests that need their own network: a private
// namespace first (before any thread exists), then the application.
#include <QApplication>

#include <gtest/gtest.h>

#include <cstdio>

#include "support/private_network.h"
#include "windows/tfont.h"

int main(int argc, char** argv) {
  velnor::testing::clear_proxy_settings();
  std::string why;
  if (!velnor::testing::listing_only(argc, argv) && !velnor::testing::enter_private_network(why)) {
    std::fprintf(stderr, "These tests need a private network namespace: %s\n", why.c_str());
    return 1;
  }
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  velnor::register_font_substitutions();
  return RUN_ALL_TESTS();
}
