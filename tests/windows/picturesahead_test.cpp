// The board's pictures are decoded on a helper thread started before the application object, and
// still at work while it is made: that thread must make no QObject, or Qt takes it for the main
// thread (the game then never painted).
#include <QGuiApplication>
#include <QThread>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "windows/timage.h"

namespace velnor {
namespace {

std::string thread_warnings;

void keep_thread_warning(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtWarningMsg && message.contains("thread")) thread_warnings += message.toStdString() + "\n";
}

TEST(PicturesAhead, MakeNoQObjectOnTheHelperThread) {
  // A pipe blocks whoever opens it for reading until a writer comes: a helper that opened it as a
  // file would still be at it while the application is made.
  char folder[] = "/tmp/picturesahead.XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string pipe = std::string(folder) + "/pipe.png";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  qInstallMessageHandler(keep_thread_warning);
  decode_pictures_ahead({QString::fromStdString(pipe), ":/images/roll.png"});
  std::this_thread::sleep_for(std::chrono::milliseconds(200));

  int argc = 1;
  char name[] = "picturesahead_test";
  char* argv[] = {name, nullptr};
  QGuiApplication app(argc, argv);
  EXPECT_EQ(thread_warnings, "");
  const int writer = open(pipe.c_str(), O_WRONLY | O_NONBLOCK);  // lets a blocked reader go
  if (writer >= 0) close(writer);
  EXPECT_EQ(resource_picture(":/images/roll.png", 1).size(), QSize(102, 27));
  unlink(pipe.c_str());
  rmdir(folder);
}

}  // namespace
}  // namespace velnor

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
