#pragma once

// A main window on the offscreen platform, with recording stand-ins for its
// services and a private program folder.
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <QTimer>
#include <functional>

#include <gtest/gtest.h>

#include <optional>

#include "game/tanimated.h"
#include "game/tmain.h"
#include "online/qtpost.h"
#include "records/savefailures.h"
#include "support/fakes.h"
#include "windows/timage.h"
#include "windows/tselbutton.h"

namespace velnor::testing {

constexpr std::uint32_t kSeed = 12345;

struct Board : ::testing::Test {
  RecordingSounds sounds;
  RecordingTally tally;
  ScriptedDialogs dialogs;
  SaveFailures failures{dialogs};
  RandomGen random;
  QTemporaryDir folder;
  std::optional<Tmain> window;
  QStringList started;          // programs the window started
  bool start_result = true;     // whether starting them works
  bool really_start = false;    // start them for real instead
  std::vector<int> exit_codes;  // ends of the program it asked for
  std::string release_key;      // whose signatures the update accepts
  SeedSupply* seeds = nullptr;  // the server's seeds; none: the games play from kSeed on
  DiceSource* dice = nullptr;   // the server's dice for a ticket's game; none: the ticket's seed's

  void SetUp() override { create(); }

  void create() {
    window.emplace(MainServices{
        &sounds, &dialogs, &random, [] { return kSeed; }, folder.path().toStdString(), program_file(), qt_ui_poster(),
        [this](const QString& program, const QStringList& args) {
          started << program + " " + args.join(' ');
          if (really_start) return QProcess::startDetached(program, args);
          return start_result;
        },
        [this](int code) { exit_codes.push_back(code); }, &failures, true, release_key, seeds, dice});
    window->set_tally(&tally);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&*window));
    // What the window does just after its first paint (the welcome cue) is done too.
    QCoreApplication::sendPostedEvents();
  }

  std::filesystem::path program_file() const { return folder.path().toStdString() + "/velnorsolo"; }
  std::filesystem::path settings() const { return folder.path().toStdString() + "/velnorsolo.ini"; }
  TAnimated* tile(int n) { return window->findChild<TAnimated*>(QString("number_%1").arg(n)); }
  QLabel* label(const QString& name) { return window->findChild<QLabel*>(name); }
  QString hints() {
    QString all;
    for (int n = 1; n <= 9; ++n) all += tile(n)->hint();
    return all;
  }
  void click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(5, 5)); }
  void press_tile(int n) { QTest::mousePress(tile(n), Qt::LeftButton, {}, QPoint(20, 40)); }
  // Plays a whole game the quick way: every roll with a play shuts what turn shuts, by default the
  // first set that matches. Returns the number of rolls.
  int play_game(const std::function<void()>& turn = {}) {
    click(window->button_start);
    return play_out(turn);
  }

  // Plays the game under way to its end, as play_game does.
  int play_out(const std::function<void()>& turn = {}) {
    int rolls = 0;
    for (int step = 0; window->game().gameon(); ++step) {
      if (step >= 1000) {
        ADD_FAILURE() << "the game does not advance";
        break;
      }
      if (window->game().phase() == Phase::roundover) {
        finish_pause();
        continue;
      }
      click(window->button_roll);
      ++rolls;
      if (window->game().phase() != Phase::selecting) continue;
      if (turn) {
        turn();
        continue;
      }
      const QString open = hints();
      const int total = window->game().dicetotal();
      for (unsigned subset = 1; subset < 512; ++subset) {
        int sum = 0;
        bool usable = true;
        for (int n = 1; n <= 9; ++n)
          if (subset & (1u << (n - 1))) {
            usable = usable && open[n - 1] == 'u';
            sum += n;
          }
        if (usable && sum == total) {
          for (int n = 1; n <= 9; ++n)
            if (subset & (1u << (n - 1))) press_tile(n);
          break;
        }
      }
    }
    return rolls;
  }

  void finish_pause() {
    for (int tick = 0; tick < 3; ++tick) {
      ASSERT_TRUE(window->pausetimer->isActive());
      window->pausetimerTimer();
    }
  }
};

}  // namespace velnor::testing
