// The game's own objects, built with the default base address, against the real
// velnor-server on 127.0.0.1:80 of a private network.
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>

#include "game/board_fixture.h"
#include "online/thighscore.h"
#include "online/updatepanel.h"
#include "windows/htmlview.h"
#include "windows/tflatpanel.h"
#include "windows/tselbutton.h"

using namespace velnor;

namespace {

bool port_80_answers() {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_port = htons(80);
  at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const bool up = connect(fd, reinterpret_cast<sockaddr*>(&at), sizeof at) == 0;
  close(fd);
  return up;
}

struct GameServer : velnor::testing::Board {
  QTemporaryDir site;
  QProcess server;
  std::optional<Thighscore> highscore;

  void SetUp() override {
    const QString release = site.path() + "/release";
    QDir().mkpath(release);
    std::ofstream((release + "/velnorsoloversion.txt").toStdString()) << "1.0.1";
    server.start(VELNOR_SERVER_PROGRAM, {"--listen", "127.0.0.1", "--port", "80", "--data",
                                         site.path() + "/data", "--release", release});
    ASSERT_TRUE(server.waitForStarted());
    ASSERT_TRUE(QTest::qWaitFor(port_80_answers, 10000)) << server.readAllStandardError().toStdString();
    create();
    highscore.emplace(VELNOR_SERVER_BASE, qt_ui_poster());
    window->set_windows({.highscore = [this] { return &*highscore; }});
    click(window->button_namedone);
  }
  void TearDown() override {
    server.terminate();
    EXPECT_TRUE(server.waitForFinished(10000));
    EXPECT_EQ(server.exitCode(), 0);
  }
};

}  // namespace

TEST_F(GameServer, APostedScoreShowsOnThePageAndTheUpdateIsOffered) {
  // The version text on the server differs from ours: the offer comes up.
  ASSERT_TRUE(QTest::qWaitFor([&] { return window->panel_update->isVisible(); }, 10000));
  QTest::mouseClick(window->updater->button_updatecancel, Qt::LeftButton, {}, QPoint(5, 5));

  play_game();
  window->edit_name->setText(QString::fromUtf8("Zo\xC3\xAB <b>&"));
  click(window->button_sendscore);
  ASSERT_TRUE(QTest::qWaitFor([&] { return highscore->isVisible(); }, 10000));
  const QString score = QString::number(window->game().score());
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return highscore->displayhtml->toPlainText().contains(QString::fromUtf8("Zo\xC3\xAB <b>&")); },
      10000))
      << highscore->displayhtml->toPlainText().toStdString();
  EXPECT_TRUE(highscore->displayhtml->toPlainText().contains(score));
  EXPECT_FALSE(window->panel_cleared->isVisible());
  EXPECT_TRUE(dialogs.messages.isEmpty());
}
