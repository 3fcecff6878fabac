// Entry point of the test programs that need widgets: one QApplication for all tests.
#include <QApplication>

#include <gtest/gtest.h>

#include "game/boardaccessible.h"
#include "windows/tfont.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Test discovery runs the program without the tests' environment: never
  // reach for a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  velnor::register_font_substitutions();
  velnor::install_accessibility();
  return RUN_ALL_TESTS();
}
