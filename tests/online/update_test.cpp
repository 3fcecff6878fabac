// The update offer and the self-update through the real main window, against a
// scripted server on port 80 of a private network.
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>
#include <optional>

#include "game/board_fixture.h"
#include "online/script_server.h"
#include "online/updatepanel.h"
#include "support/temp_folder.h"
#include "windows/tflatpanel.h"
#include "windows/tselbutton.h"

using namespace velnor;
using velnor::testing::ScriptServer;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

std::string reply(const std::string& body) {
  return "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

using velnor::testing::file_bytes;

struct Update : velnor::testing::Board {
  ScriptServer server{80};

  void SetUp() override { std::ofstream(program_file(), std::ios::binary) << "the game, version 1.0.0"; }
  // Shows the window, which asks for the version text, and waits for the answer.
  void start(const std::string& version_reply) {
    server.script({version_reply});
    create();
    ASSERT_TRUE(server.wait_requests(1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->updater->checkupdate.busy(); }, 10000));
  }
  UpdatePanel& panel() { return *window->updater; }
  fs::path installer() const { return folder.path().toStdString() + "/vnssetup.exe"; }
  fs::path backup() const { return folder.path().toStdString() + "/velnorsolo.BAK"; }
  void accept() { QTest::mouseClick(panel().button_updateyes, Qt::LeftButton, {}, QPoint(5, 5)); }
  // Whether a click on the middle of `control` reaches it, not a panel above it.
  bool reachable(QWidget* control) {
    QWidget* hit = window->childAt(control->mapTo(&*window, control->rect().center()));
    return hit == control || control->isAncestorOf(hit);
  }
};

}  // namespace

TEST_F(Update, OnlyTheExactOwnVersionOffersNothing) {
  for (const std::string version : {"1.0.0", "1.0.1", "0.9", "1.0.0 ", "1.0.0\n"}) {
    window.reset();
    start(reply(version));
    EXPECT_EQ(server.requests().back().rfind("GET /velnorsolo/velnorsoloversion.txt HTTP/1.0\r\n", 0), 0u);
    EXPECT_EQ(window->panel_update->isVisible(), version != "1.0.0") << '"' << version << '"';
  }
  QTest::mouseClick(panel().button_updatecancel, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_FALSE(window->panel_update->isVisible());
}

TEST_F(Update, SwitchedOffAsksNothingAndAFailedCheckIsSilent) {
  std::ofstream(settings(), std::ios::binary) << "[velnorsolo]\r\nUpdate=false\r\n";
  create();
  EXPECT_FALSE(window->updater->checkupdate.busy());
  window.reset();
  fs::remove(settings());
  start("HTTP/1.0 200 OK\r\n\r\n");  // an empty version file
  EXPECT_FALSE(window->panel_update->isVisible());
  // A server without release files answers with an error page, which is no version.
  window.reset();
  start("HTTP/1.0 404 Not Found\r\nContent-Length: 9\r\n\r\nNot Found");
  EXPECT_FALSE(window->panel_update->isVisible());
  EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(Update, MissingInstallerAbortsLeavesTheGameAloneAndClearsTheBoard) {
  std::ofstream(backup()) << "an old backup";
  start(reply("1.0.1"));
  click(window->button_namedone);
  server.script({"HTTP/1.0 404 Not Found\r\nContent-Length: 4\r\n\r\nnope"});
  panel().aborted_notice = 0ms;
  accept();
  EXPECT_FALSE(panel().button_updateyes->isVisible());
  EXPECT_FALSE(panel().button_updatecancel->isVisible());
  EXPECT_EQ(panel().label_update->text(), "Download Aborted");
  EXPECT_TRUE(reachable(window->button_start));
  EXPECT_EQ(server.requests().back().rfind("GET /velnorsolo/vnssetup.exe HTTP/1.0\r\n", 0), 0u);
  EXPECT_EQ(file_bytes(program_file()), "the game, version 1.0.0");
  EXPECT_EQ(file_bytes(backup()), "an old backup");  // only a complete installer replaces it
  EXPECT_FALSE(fs::exists(installer()));
  EXPECT_TRUE(started.isEmpty());
  EXPECT_TRUE(exit_codes.empty());
  // The notice goes, and the tiles under it are the player's again.
  ASSERT_TRUE(QTest::qWaitFor([&] { return !window->panel_update->isVisible(); }, 10000));
  EXPECT_TRUE(reachable(tile(4)));
}

TEST_F(Update, AServerThatStopsSendingAbortsWithTheGameInPlace) {
  start(reply("1.0.1"));
  server.script({"HTTP/1.0 200 OK\r\nContent-Length: 100000\r\n\r\nsome", true});
  panel().getupdate.stall_limit = 200ms;
  // Looked at during the download: a kill then must still leave the game behind.
  std::optional<bool> in_place;
  QTimer::singleShot(0, &*window, [&] {
    if (panel().label_update->text() == "Updating. Please Wait...")
      in_place = fs::exists(program_file()) && !fs::exists(backup());
  });
  accept();
  ASSERT_TRUE(in_place.has_value());
  EXPECT_TRUE(*in_place);
  EXPECT_EQ(panel().label_update->text(), "Download Aborted");
  EXPECT_EQ(file_bytes(program_file()), "the game, version 1.0.0");
  EXPECT_FALSE(fs::exists(installer()));
  EXPECT_TRUE(started.isEmpty());
}

TEST_F(Update, RealInstallerIsStartedWithItsSwitchesAndTheGameEnds) {
  const fs::path marker = folder.path().toStdString() + "/installed.txt";
  const std::string script = "#!/bin/sh\necho \"$@\" > '" + marker.string() + "'\n";
  std::ofstream(backup()) << "an old backup";
  start(reply("1.0.1"));
  server.script({reply(script)});
  really_start = true;
  accept();
  EXPECT_EQ(panel().label_update->text(), "Installing");
  EXPECT_EQ(file_bytes(installer()), script);
  EXPECT_NE(fs::status(installer()).permissions() & fs::perms::owner_exec, fs::perms::none);
  EXPECT_EQ(started, QStringList{QString::fromStdString(installer().string()) + " /SP- /silent /noicons"});
  EXPECT_EQ(exit_codes, std::vector<int>{0});
  EXPECT_EQ(tally.saves, 1);            // the run's games are kept
  EXPECT_TRUE(fs::exists(settings()));  // and so are the settings
  EXPECT_EQ(file_bytes(backup()), "the game, version 1.0.0");
  ASSERT_TRUE(QTest::qWaitFor([&] { return fs::exists(marker) && fs::file_size(marker) > 0; }, 10000));
  EXPECT_EQ(file_bytes(marker), "/SP- /silent /noicons\n");
}

TEST_F(Update, InstallerThatCannotStartIsReportedAndUndone) {
  start(reply("2.0.0"));
  server.script({reply("MZ installer")});
  start_result = false;
  accept();
  EXPECT_EQ(dialogs.messages, QStringList{"There was an error in the update process. Please "
                                          "downloadVELNORSOLO manually from http://localhost."});
  EXPECT_EQ(file_bytes(program_file()), "the game, version 1.0.0");
  EXPECT_FALSE(fs::exists(installer()));
  EXPECT_TRUE(exit_codes.empty());
}

TEST_F(Update, ClosingTheWindowDuringTheDownloadAbortsIt) {
  start(reply("1.0.1"));
  server.script({"HTTP/1.0 200 OK\r\nContent-Length: 100000\r\n\r\nsome", true});
  // The download keeps the window's events flowing, so the close arrives during it.
  QTimer::singleShot(100, &*window, [&] { window->close(); });
  accept();
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(panel().label_update->text(), "Download Aborted");
  EXPECT_EQ(file_bytes(program_file()), "the game, version 1.0.0");
  EXPECT_FALSE(fs::exists(installer()));
}
