// The application object's error box and the instance lock.
#include <QEvent>
#include <QObject>

#include <gtest/gtest.h>

#include <stdexcept>

#include <unistd.h>

#include "windows/dialogs.h"
#include "core/instancelock.h"
#include "app/velnorapplication.h"
#include "support/fakes.h"

using namespace velnor;

namespace {

velnor::testing::ScriptedDialogs* dialogs = nullptr;

struct Thrower : QObject {
  const char* text = "";
  bool event(QEvent*) override { throw std::runtime_error(text); }
};

}  // namespace

TEST(ErrorBox, ExceptionsStopAtTheApplicationAndGetAFullStop) {
  Thrower thrower;
  QEvent event(QEvent::User);
  for (const char* text : {"File not found", "Posting Failed.", "Huh?", "Unable to write to /x/y.ini"}) {
    thrower.text = text;
    EXPECT_NO_THROW(QCoreApplication::sendEvent(&thrower, &event));
  }
  EXPECT_EQ(dialogs->errors, (QStringList{"File not found.", "Posting Failed.", "Huh?.",
                                          "Unable to write to /x/y.ini."}));
}

TEST(ErrorBox, FullStopOnlyAfterCharactersSortingAfterIt) {
  EXPECT_EQ(error_box_text(""), "");
  EXPECT_EQ(error_box_text("a-"), "a-");   // '-' sorts before '.'
  EXPECT_EQ(error_box_text("a/"), "a/.");  // '/' sorts after '.'
  EXPECT_EQ(error_box_text("(Error #10061)"), "(Error #10061)");  // ')' sorts before '.'
  EXPECT_EQ(error_box_text("Ready!"), "Ready!");
}

TEST(InstanceLock, OneHolderAtATime) {
  const std::string name = "velnortest-" + std::to_string(::getpid());
  {
    InstanceLock first(name);
    EXPECT_TRUE(first.held());
    InstanceLock second(name);
    EXPECT_FALSE(second.held());
  }
  InstanceLock again(name);
  EXPECT_TRUE(again.held());
}

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  velnor::testing::ScriptedDialogs scripted;
  dialogs = &scripted;
  VelnorApplication app(argc, argv, scripted);
  return RUN_ALL_TESTS();
}
