#include "windows/tfont.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  // The build lists the tests by running this program, without a display.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  velnor::register_font_substitutions();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
