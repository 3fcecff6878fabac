// Entry point of the widget tests that need their own network: a private
// namespace first (before any thread exists), then the application.
#include <QApplication>

#include <gtest/gtest.h>

#include "support/private_network.h"
#include "windows/tfont.h"

int main(int argc, char** argv) {
  if (!velnor::testing::prepare_private_network(argc, argv)) return 1;
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  velnor::register_font_substitutions();
  return RUN_ALL_TESTS();
}
