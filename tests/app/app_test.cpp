// The application object's error box, the instance lock and the hand-over to a running copy.
#include <QDeadlineTimer>
#include <QEvent>
#include <QFile>
#include <QObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "app/singleinstance.h"
#include "app/velnorapplication.h"
#include "core/instancelock.h"
#include "support/fakes.h"
#include "windows/dialogs.h"

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
  EXPECT_EQ(dialogs->errors,
            (QStringList{"File not found.", "Posting Failed.", "Huh?.", "Unable to write to /x/y.ini."}));
}

TEST(ErrorBox, FullStopOnlyAfterCharactersSortingAfterIt) {
  EXPECT_EQ(error_box_text(""), "");
  EXPECT_EQ(error_box_text("a-"), "a-");                          // '-' sorts before '.'
  EXPECT_EQ(error_box_text("a/"), "a/.");                         // '/' sorts after '.'
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

namespace {

// A socket file that a crashed copy left behind: bound, nobody listening.
void leave_stale_socket(const QString& path) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const QByteArray name = QFile::encodeName(path);
  ASSERT_LT(name.size(), static_cast<qsizetype>(sizeof address.sun_path));
  std::copy(name.begin(), name.end(), address.sun_path);
  ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  ::close(fd);
}

}  // namespace

TEST(SingleInstance, SecondStartInTheFolderHandsOverEvenAfterACrash) {
  QTemporaryDir runtime, elsewhere;
  const QByteArray own_runtime = qgetenv("XDG_RUNTIME_DIR");
  qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
  const QString key = "velnortest", folder = QCoreApplication::applicationDirPath();
  {
    SingleInstance running(key, folder);
    ASSERT_NO_FATAL_FAILURE(leave_stale_socket(running.socket_path()));
    EXPECT_FALSE(running.handed_over()) << "the stale socket stopped the start";
    int asked = 0;
    running.on_second_start = [&] { ++asked; };

    SingleInstance second(key, folder);
    EXPECT_TRUE(second.handed_over());
    const QDeadlineTimer deadline(5000);
    while (asked == 0 && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_EQ(asked, 1) << "the running copy was not told to come forward";

    SingleInstance other_folder(key, elsewhere.path());
    EXPECT_FALSE(other_folder.handed_over());
  }
  // Ended properly: the next start runs.
  EXPECT_FALSE(SingleInstance(key, folder).handed_over());
  qputenv("XDG_RUNTIME_DIR", own_runtime);
}

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  velnor::testing::ScriptedDialogs scripted;
  dialogs = &scripted;
  VelnorApplication app(argc, argv, scripted);
  return RUN_ALL_TESTS();
}
