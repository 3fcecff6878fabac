// The game's own objects, built with the default base address, against the real
// velnor-server on 127.0.0.1:80 of a private network.
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>

#include "game/board_fixture.h"
#include "online/releasesignature.h"
#include "online/releasestatement.h"
#include "online/thighscore.h"
#include "online/updatepanel.h"
#include "support/childprocess.h"
#include "support/temp_folder.h"
#include "windows/htmlview.h"
#include "windows/tflatpanel.h"
#include "windows/tselbutton.h"

using namespace velnor;

namespace {

struct GameServer : velnor::testing::Board {
  QTemporaryDir site;
  std::optional<velnor::testing::ChildProgram> server;
  std::optional<Thighscore> highscore;
  const release::KeyPair keys = release::make_key_pair();
  const std::string installer = "#!/bin/sh\nexit 0\n";

  void SetUp() override {
    const QString release = site.path() + "/release";
    QDir().mkpath(release);
    // A release as the README has it made: the installer, its signature, the version text.
    std::ofstream((release + "/vnssetup.exe").toStdString(), std::ios::binary) << installer;
    std::ofstream((release + "/vnssetup.exe.sig").toStdString(), std::ios::binary)
        << release::signed_statement(release::statement_of("1.0.1", installer), keys.secret_key);
    std::ofstream((release + "/velnorsoloversion.txt").toStdString()) << "1.0.1";
    release_key = keys.public_key;
    const std::string folder = site.path().toStdString();
    server.emplace(folder,
                   std::vector<std::string>{VELNOR_SERVER_PROGRAM, "--listen", "127.0.0.1", "--port", "80", "--data",
                                            folder + "/data", "--release", release.toStdString()},
                   folder + "/server.log");
    ASSERT_TRUE(server->wait_for_port(80)) << server->log();
    create();
    highscore.emplace(VELNOR_SERVER_BASE, qt_ui_poster());
    window->set_windows({.highscore = [this] { return &*highscore; }});
    click(window->button_namedone);
  }
  void TearDown() override { EXPECT_EQ(server->stop(), 0) << server->log(); }
};

}  // namespace

TEST_F(GameServer, APostedScoreShowsOnThePageAndTheUpdateIsOffered) {
  // The version text on the server is newer than ours: the offer comes up.
  ASSERT_TRUE(QTest::qWaitFor([&] { return window->panel_update->isVisible(); }, 10000));
  QTest::mouseClick(window->updater->button_updatecancel, Qt::LeftButton, {}, QPoint(5, 5));

  play_game();
  window->edit_name->setText(QString::fromUtf8("Zo\xC3\xAB <b>&"));
  click(window->button_sendscore);
  ASSERT_TRUE(QTest::qWaitFor([&] { return highscore->isVisible(); }, 10000));
  const QString score = QString::number(window->game().score());
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return highscore->displayhtml->toPlainText().contains(QString::fromUtf8("Zo\xC3\xAB <b>&")); }, 10000))
      << highscore->displayhtml->toPlainText().toStdString();
  EXPECT_TRUE(highscore->displayhtml->toPlainText().contains(score));
  EXPECT_FALSE(window->panel_cleared->isVisible());
  EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(GameServer, ASignedReleaseIsDownloadedCheckedAndStarted) {
  ASSERT_TRUE(QTest::qWaitFor([&] { return window->panel_update->isVisible(); }, 10000));
  click(window->updater->button_updateyes);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !window->updater->downloading(); }, 10000));
  const std::string saved = folder.path().toStdString() + "/vnssetup.exe";
  EXPECT_EQ(started, QStringList{QString::fromStdString(saved) + " /SP- /silent /noicons"});
  EXPECT_EQ(velnor::testing::file_bytes(saved), installer);
  EXPECT_EQ(exit_codes, std::vector<int>{0});
}
