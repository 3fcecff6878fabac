// The application object's error box, the instance lock, the hand-over to a running copy, the
// program's command line, and the session's end.
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "app/singleinstance.h"
#include "app/velnorapplication.h"
#include "core/instancelock.h"
#include "e2e/command.h"
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

TEST(SingleInstance, OneCopyPerRecordsWhoeverStartsIt) {
  QTemporaryDir runtime, other_runtime, records, elsewhere;
  const QByteArray own_runtime = qgetenv("XDG_RUNTIME_DIR");
  qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
  const QString key = "velnortest";
  using Start = SingleInstance::Start;
  {
    SingleInstance running(key, records.path());
    ASSERT_NO_FATAL_FAILURE(leave_stale_socket(running.socket_path()));
    EXPECT_EQ(running.start(), Start::first) << "the stale socket stopped the start";
    int asked = 0;
    running.on_second_start = [&] { ++asked; };

    SingleInstance second(key, records.path());
    EXPECT_EQ(second.start(), Start::handed_over);
    const QDeadlineTimer deadline(5000);
    while (asked == 0 && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_EQ(asked, 1) << "the running copy was not told to come forward";

    EXPECT_EQ(SingleInstance(key, elsewhere.path()).start(), Start::first);

    // Another user or session cannot reach this copy, and must not write its records.
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(other_runtime.path()));
    EXPECT_EQ(SingleInstance(key, records.path()).start(), Start::held_elsewhere);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
  }
  // Ended properly: the next start runs, from any session.
  qputenv("XDG_RUNTIME_DIR", QFile::encodeName(other_runtime.path()));
  EXPECT_EQ(SingleInstance(key, records.path()).start(), Start::first);
  qputenv("XDG_RUNTIME_DIR", own_runtime);
}

// What a shell or a session manager meets, without a display: answers and one-line refusals, never
// Qt's abort.
TEST(CommandLine, AnswersWithoutADisplayAndRefusesWhatItDoesNotKnow) {
  QProcessEnvironment bare;
  bare.insert("PATH", "/usr/bin:/bin");
  bare.insert("HOME", QDir::tempPath());
  const auto run = [&](const QStringList& args, const QProcessEnvironment& environment) {
    return velnor::testing::run_command(VELNOR_GAME_PROGRAM, args, environment);
  };
  const auto one_line = [](const QByteArray& text) { return text.endsWith('\n') && text.count('\n') == 1; };

  const auto version = run({"--version"}, bare);
  EXPECT_EQ(version.status, 0) << version.describe().toStdString();
  EXPECT_EQ(version.out, "Velnor Solo " VELNOR_VERSION "\n");
  const auto help = run({"-platform", "xcb", "--help"}, bare);
  EXPECT_EQ(help.status, 0) << help.describe().toStdString();
  EXPECT_TRUE(help.out.startsWith("Usage: velnorsolo")) << help.out.toStdString();

  for (const QStringList& wrong : {QStringList{"--frobnicate"}, QStringList{"-platform", "xcb", "tally.tld"}}) {
    const auto refused = run(wrong, bare);
    EXPECT_EQ(refused.status, 2) << wrong.join(' ').toStdString();
    EXPECT_TRUE(one_line(refused.err)) << refused.err.toStdString();
    EXPECT_TRUE(refused.out.isEmpty());
  }
  // A server the game could not reach as written (a port, another scheme, no closing slash).
  for (const char* server : {"https://scores.example.org:8443/", "ftp://scores.example.org/", "https://a/b"}) {
    QProcessEnvironment pointed = bare;
    pointed.insert("VELNOR_SERVER", server);
    pointed.insert("QT_QPA_PLATFORM", "offscreen");
    const auto refused = run({}, pointed);
    EXPECT_EQ(refused.status, 2) << server;
    EXPECT_TRUE(one_line(refused.err) && refused.err.contains("VELNOR_SERVER")) << refused.err.toStdString();
  }

  const auto no_display = run({}, bare);
  EXPECT_EQ(no_display.status, 1) << no_display.describe().toStdString();
  EXPECT_TRUE(one_line(no_display.err)) << no_display.err.toStdString();
  QProcessEnvironment gone = bare;
  gone.insert("DISPLAY", ":97");  // no server there
  const auto dead_display = run({}, gone);
  EXPECT_EQ(dead_display.status, 1) << dead_display.describe().toStdString();
  EXPECT_TRUE(one_line(dead_display.err)) << dead_display.err.toStdString();
  EXPECT_TRUE(dead_display.err.startsWith("velnorsolo: cannot open a display")) << dead_display.err.toStdString();
}

// The program finds its translations beside itself and follows the language the way a desktop
// sets it; English, the plain locales and a language without a translation keep its own texts.
TEST(CommandLine, AnswersInThePlayersLanguage) {
  const auto refusal = [](const QMap<QString, QString>& language) {
    QProcessEnvironment environment;
    environment.insert("PATH", "/usr/bin:/bin");
    for (auto [name, value] : language.asKeyValueRange()) environment.insert(name, value);
    return QString::fromUtf8(velnor::testing::run_command(VELNOR_GAME_PROGRAM, {"--frobnicate"}, environment).err);
  };
  const QString english = "velnorsolo: unknown option '--frobnicate' (try velnorsolo --help)\n";
  EXPECT_EQ(refusal({{"LANG", "de_DE.UTF-8"}}),
            "velnorsolo: unbekannte Option „--frobnicate“ (siehe velnorsolo --help)\n");
  EXPECT_TRUE(refusal({{"LC_ALL", "pt_BR.UTF-8"}}).startsWith("velnorsolo: opção desconhecida"));
  EXPECT_TRUE(
      refusal({{"LANGUAGE", "ja:fr"}, {"LANG", "de_DE.UTF-8"}}).startsWith("velnorsolo\u00a0: option inconnue"));
  EXPECT_EQ(refusal({{"LANGUAGE", "en:de"}, {"LANG", "de_DE.UTF-8"}}), english);
  EXPECT_EQ(refusal({{"LC_ALL", "C"}, {"LANG", "de_DE.UTF-8"}}), english);
  EXPECT_EQ(refusal({{"LANGUAGE", "de"}, {"LANG", "C.UTF-8"}}), english);
  EXPECT_EQ(refusal({{"LANGUAGE", "de"}}), english);
  EXPECT_EQ(refusal({{"LANG", "ja_JP.UTF-8"}}), english);
}

// A session's end that finds the window's thread stuck, here in a save that stalls and then in
// work that never returns, ends the program all the same, in the 3 seconds a session waits; and
// never in the middle of the save: the file is whole, with the new bytes.
TEST(TerminationSignals, AStuckWindowEndsInTimeWithItsSaveFinished) {
  QTemporaryDir folder;
  const QString file = folder.filePath("velnorsolotally.tld");
  QFile old(file);
  ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old\n") == 4);
  old.close();
  QProcess stuck;
  stuck.start(VELNOR_TERMINATION_PROBE, {file});
  ASSERT_TRUE(stuck.waitForReadyRead(10000)) << stuck.readAllStandardError().toStdString();
  ASSERT_EQ(stuck.readLine(), "saving\n");

  QElapsedTimer since_signal;
  since_signal.start();
  ASSERT_EQ(::kill(static_cast<pid_t>(stuck.processId()), SIGTERM), 0);
  ASSERT_TRUE(stuck.waitForFinished(10000)) << "SIGTERM did not end a program whose window is stuck";
  EXPECT_LT(since_signal.elapsed(), 3000);
  EXPECT_EQ(stuck.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(stuck.exitCode(), 128 + SIGTERM);
  EXPECT_TRUE(stuck.readAllStandardError().contains("ended without saving"));

  QFile saved(file);
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_EQ(saved.readAll(), "whole\n") << "the forced end cut the save short";
  EXPECT_FALSE(QFile::exists(file + ".new"));
  EXPECT_FALSE(QFile::exists(file + ".answered")) << "the stuck thread answered after all";
}

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  velnor::testing::ScriptedDialogs scripted;
  dialogs = &scripted;
  VelnorApplication app(argc, argv, scripted);
  return RUN_ALL_TESTS();
}
