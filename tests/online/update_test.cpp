// The update offer and the self-update through the real main window, against a
// scripted server on port 80 of a private network.
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>
#include <optional>

#include "game/board_fixture.h"
#include "online/releasesignature.h"
#include "online/releasestatement.h"
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
  const release::KeyPair keys = release::make_key_pair();

  void SetUp() override {
    release_key = keys.public_key;
    std::ofstream(program_file(), std::ios::binary) << "the game, version 1.0.0";
  }
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
  // The release folder's answers: the signed statement, then the installer.
  void serve(const std::string& statement_reply, const std::string& installer) {
    server.script({statement_reply});
    server.script({reply(installer)});
  }
  // The statement velnor-release signs for `bytes` as `version`, served.
  std::string statement(const std::string& version, const std::string& bytes) const {
    return reply(release::signed_statement(release::statement_of(version, bytes), keys.secret_key));
  }
  // A signed release of 100000 bytes whose installer stops after its first bytes.
  void serve_trickle() {
    server.script({statement("1.0.1", std::string(100000, 'x'))});
    server.script({"HTTP/1.0 200 OK\r\nContent-Length: 100000\r\n\r\nsome", true});
  }
  // A new window is offered `offered`, whose release folder holds `installer` signed as `signed_as`,
  // and the player takes it, until the download ends.
  void take_release(const std::string& offered, const std::string& signed_as, const std::string& installer) {
    window.reset();
    ASSERT_NO_FATAL_FAILURE(start(reply(offered)));
    serve(statement(signed_as, installer), installer);
    accept();
    ASSERT_TRUE(download_ends());
  }
  // The download runs on a worker; its end reaches the window as an event.
  bool download_ends() {
    return QTest::qWaitFor([&] { return !panel().downloading(); }, 10000);
  }
  // Nothing of the update is left, and the game is where it was.
  void expect_untouched() {
    EXPECT_EQ(file_bytes(program_file()), "the game, version 1.0.0");
    EXPECT_FALSE(fs::exists(backup()));
    EXPECT_FALSE(fs::exists(installer()));
    EXPECT_FALSE(fs::exists(installer().string() + ".sig"));
    EXPECT_TRUE(started.isEmpty());
    EXPECT_TRUE(exit_codes.empty());
  }
  // Whether a click on the middle of `control` reaches it, not a panel above it.
  bool reachable(QWidget* control) {
    QWidget* hit = window->childAt(control->mapTo(&*window, control->rect().center()));
    return hit == control || control->isAncestorOf(hit);
  }
};

}  // namespace

// An older version, however well signed, would take back what was mended since: only a newer
// version, dotted numbers compared as numbers, is offered, and no text that is not one.
TEST_F(Update, OnlyANewerVersionIsOffered) {
  for (const std::string version :
       {"1.0.0", "1.0", "1.0.0.0", "0.9.0", "0.10.0", "1.0.1 ", "1.0.1\n", "01.0.1", "1.0.-1", "v1.0.1",
        "<html>1.0.1</html>", "1.1", "2", "1.0.0.1", "10.0.0", "1.0.1"}) {
    window.reset();
    start(reply(version));
    EXPECT_EQ(server.requests().back().rfind("GET /velnorsolo/velnorsoloversion.txt HTTP/1.0\r\n", 0), 0u);
    const bool newer =
        version == "1.0.1" || version == "1.1" || version == "2" || version == "1.0.0.1" || version == "10.0.0";
    EXPECT_EQ(window->panel_update->isVisible(), newer) << '"' << version << '"';
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
  server.script({statement("1.0.1", "MZ installer")});
  server.script({"HTTP/1.0 404 Not Found\r\nContent-Length: 4\r\n\r\nnope"});
  panel().aborted_notice = 0ms;
  accept();
  EXPECT_FALSE(panel().button_updateyes->isVisible());
  ASSERT_TRUE(download_ends());
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
  serve_trickle();
  panel().getupdate.stall_limit = 200ms;
  accept();
  // A kill during the download must still leave the game behind.
  EXPECT_TRUE(panel().downloading());
  EXPECT_TRUE(fs::exists(program_file()) && !fs::exists(backup()));
  ASSERT_TRUE(download_ends());
  EXPECT_EQ(panel().label_update->text(), "Download Aborted");
  expect_untouched();
}

// Whoever can answer for the server (a hostile network, a spoofed name) can send any release:
// only an installer whose statement is signed with the release key, for the version offered,
// runs; any other leaves nothing and, when the server did send one, says why on request.
TEST_F(Update, AnInstallerWithoutAGoodStatementNeverRuns) {
  const std::string installer_bytes = "#!/bin/sh\nrm -rf \"$HOME\"\n";
  std::string changed_bytes = installer_bytes;
  changed_bytes[12] ^= 1;
  const std::string signed_text =
      release::signed_statement(release::statement_of("1.0.1", installer_bytes), keys.secret_key);
  std::string with_carriage_returns;
  for (const char c : signed_text) with_carriage_returns += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const release::KeyPair other = release::make_key_pair();
  const std::string not_found = "HTTP/1.0 404 Not Found\r\nContent-Length: 4\r\n\r\nnope";
  struct Case {
    const char* what;
    std::string statement_reply;
    std::string installer_reply;  // empty: the installer is never asked for
    std::string refusal;          // the reason given on request; empty: the network failed, no box
  };
  const Case cases[] = {
      {"unsigned", not_found, "", ""},
      {"a bare signature of the installer", reply(release::sign(installer_bytes, keys.secret_key)), "",
       "no signed statement"},
      {"signed by another key",
       reply(release::signed_statement(release::statement_of("1.0.1", installer_bytes), other.secret_key)), "",
       "does not hold"},
      {"an older release signed as itself", statement("0.9.0", installer_bytes), "",
       "signed as version 0.9.0, but the server offered version 1.0.1"},
      {"another version than offered", statement("1.0.2", installer_bytes), "", "signed as version 1.0.2"},
      {"a statement with carriage returns", reply(with_carriage_returns), "", "no signed statement"},
      {"a statement with a byte more", reply(signed_text + "\n"), "", "does not end in one signature"},
      {"shorter than signed", statement("1.0.1", installer_bytes), reply(installer_bytes.substr(0, 10)),
       "10 bytes where 25 were signed"},
      {"longer than signed", statement("1.0.1", installer_bytes), reply(installer_bytes + "#"), "more bytes"},
      {"other bytes than signed", statement("1.0.1", installer_bytes), reply(changed_bytes), "SHA-512"},
      {"cut short in transfer", statement("1.0.1", installer_bytes),
       "HTTP/1.0 200 OK\r\nContent-Length: 25\r\n\r\n" + installer_bytes.substr(0, 10), ""},
  };
  for (const Case& c : cases) {
    window.reset();
    start(reply("1.0.1"));
    server.script({c.statement_reply});
    if (!c.installer_reply.empty()) server.script({c.installer_reply});
    const qsizetype boxes = dialogs.errors.size();
    accept();
    ASSERT_TRUE(download_ends()) << c.what;
    EXPECT_EQ(panel().label_update->text(), "Download Aborted") << c.what;
    const std::string last_asked = c.installer_reply.empty() ? "GET /velnorsolo/vnssetup.exe.sig HTTP/1.0\r\n"
                                                             : "GET /velnorsolo/vnssetup.exe HTTP/1.0\r\n";
    EXPECT_EQ(server.requests().back().rfind(last_asked, 0), 0u) << c.what;
    expect_untouched();
    if (c.refusal.empty()) {
      EXPECT_EQ(dialogs.errors.size(), boxes) << c.what;
    } else {
      ASSERT_EQ(dialogs.errors.size(), boxes + 1) << c.what;
      EXPECT_EQ(dialogs.errors.back(),
                "Download Aborted: the server's update was refused, and the game stays as it is.");
      EXPECT_TRUE(dialogs.error_details.back().contains(QString::fromStdString(c.refusal)))
          << c.what << ": " << dialogs.error_details.back().toStdString();
    }
  }
  EXPECT_TRUE(dialogs.messages.isEmpty());
}

// The marker file says whether an installer ran: an older one offered as newer never does, and
// a newer one, signed as the version offered, is started with its switches and the game ends.
TEST_F(Update, ARolledBackInstallerNeverRunsWhileANewerSignedOneInstalls) {
  const fs::path marker = folder.path().toStdString() + "/installed.txt";
  const std::string old_script = "#!/bin/sh\necho old > '" + marker.string() + "'\n";
  const std::string script = "#!/bin/sh\necho \"$@\" > '" + marker.string() + "'\n";
  std::ofstream(backup()) << "an old backup";
  really_start = true;

  // The older release, offered as what it is: no offer at all.
  start(reply("0.9.0"));
  EXPECT_FALSE(window->panel_update->isVisible());
  // ...and offered as newer: its own statement gives it away before it is downloaded.
  ASSERT_NO_FATAL_FAILURE(take_release("1.0.1", "0.9.0", old_script));
  EXPECT_EQ(panel().label_update->text(), "Download Aborted");
  EXPECT_EQ(server.drop_unused(), 1u);  // the installer was never asked for
  EXPECT_EQ(file_bytes(program_file()), "the game, version 1.0.0");
  EXPECT_EQ(file_bytes(backup()), "an old backup");
  EXPECT_FALSE(fs::exists(installer()));
  EXPECT_TRUE(started.isEmpty());
  EXPECT_FALSE(QTest::qWaitFor([&] { return fs::exists(marker); }, 500)) << file_bytes(marker);

  ASSERT_NO_FATAL_FAILURE(take_release("1.0.1", "1.0.1", script));
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
  serve(statement("2.0.0", "MZ installer"), "MZ installer");
  start_result = false;
  accept();
  ASSERT_TRUE(download_ends());
  EXPECT_EQ(dialogs.messages, QStringList{"There was an error in the update process. Please "
                                          "downloadVELNORSOLO manually from http://localhost."});
  EXPECT_EQ(file_bytes(program_file()), "the game, version 1.0.0");
  EXPECT_FALSE(fs::exists(installer()));
  EXPECT_TRUE(exit_codes.empty());
}

// The download runs beside the board, which goes on answering; CANCEL stops it.
TEST_F(Update, CancelStopsATrickleAtOnceAndTheBoardAnswersMeanwhile) {
  start(reply("1.0.1"));
  serve_trickle();
  accept();
  ASSERT_TRUE(server.wait_requests(3));
  std::optional<bool> ticked_while_downloading;
  QTimer::singleShot(0, &*window, [&] { ticked_while_downloading = panel().downloading(); });
  ASSERT_TRUE(QTest::qWaitFor([&] { return ticked_while_downloading.has_value(); }, 10000));
  EXPECT_TRUE(*ticked_while_downloading);
  ASSERT_TRUE(panel().button_updatecancel->isVisible());

  QTest::mouseClick(panel().button_updatecancel, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_FALSE(window->panel_update->isVisible());
  EXPECT_TRUE(server.wait_client_gone());
  ASSERT_TRUE(download_ends());
  EXPECT_FALSE(window->panel_update->isVisible());
  expect_untouched();
  EXPECT_TRUE(dialogs.messages.isEmpty() && dialogs.errors.isEmpty());
}

TEST_F(Update, ClosingTheWindowDuringTheDownloadAbortsIt) {
  start(reply("1.0.1"));
  serve_trickle();
  accept();
  ASSERT_TRUE(server.wait_requests(3));
  window->close();
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(panel().label_update->text(), "Download Aborted");
  // The program then ends, and what was downloaded goes with it.
  window.reset();
  EXPECT_TRUE(server.wait_client_gone());
  expect_untouched();
}
