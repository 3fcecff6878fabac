#include "game/tmain.h"

#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <gtest/gtest.h>

#include "game/board_fixture.h"
#include "game/solver.h"
#include "game/tbestmove.h"
#include "game/tcoach.h"
#include "online/updatepanel.h"
#include "rules/dicethrow.h"
#include "windows/tflatpanel.h"
#include "windows/timage.h"
#include "windows/tselbutton.h"

using namespace velnor;
using velnor::testing::Board;
using velnor::testing::kSeed;

namespace {

// The open tiles (hint "u") that make up total, largest first; empty when none do.
std::vector<int> pick(const QString& hints, int total) {
  for (unsigned subset = 511; subset > 0; --subset) {
    std::vector<int> tiles;
    int sum = 0;
    for (int n = 9; n >= 1; --n) {
      if (!(subset & (1u << (n - 1)))) continue;
      if (hints[n - 1] != 'u') {
        sum = -1;
        break;
      }
      sum += n;
      tiles.push_back(n);
    }
    if (sum == total) return tiles;
  }
  return {};
}

}  // namespace

TEST_F(Board, StartsWithTheNamePanelAndTheWelcome) {
  EXPECT_EQ(window->windowTitle(), "Velnor Solo");
  EXPECT_EQ(sounds.played, QStringList{"entered"});
  EXPECT_TRUE(window->panel_name->isVisible());
  EXPECT_FALSE(window->button_roll->isVisible());
  EXPECT_FALSE(window->panel_cleared->isVisible());
  EXPECT_FALSE(window->panel_update->isVisible());
  EXPECT_EQ(label("label_roundnum")->text(), "Round: 0 of 10");
  EXPECT_EQ(label("label_score")->text(), "Score: 0");
  EXPECT_EQ(label("label_status")->text(), "Welcome to Velnor Solo");
  EXPECT_EQ(hints(), "uuuuuuuuu");
  EXPECT_EQ(window->edit_name->text(), "Guest");
  EXPECT_EQ(random.seed(), kSeed);
  EXPECT_FALSE(window->game().gameon());
}

TEST_F(Board, ControlsSitWhereTheBoardPutsThem) {
  const std::pair<const char*, QRect> places[] = {
      {"panel_board", {0, 3, 681, 322}},        {"panel_board1", {6, 26, 670, 291}},
      {"panel_dicepanel", {145, 8, 505, 121}},  {"FlatPanel1", {22, 8, 123, 241}},
      {"panel_cleared", {222, 8, 329, 265}},    {"panel_name", {231, 40, 329, 161}},
      {"panel_update", {230, 40, 329, 161}},    {"button_start", {19, 253, 125, 27}},
      {"image_logo", {462, 250, 185, 32}},      {"button_roll", {376, 64, 102, 27}},
      {"label_status", {12, 90, 480, 14}},      {"label_total", {32, 30, 37, 37}},
      {"edit_name", {136, 82, 161, 32}},        {"button_sendscore", {78, 126, 172, 36}},
      {"button_highscore", {78, 178, 172, 36}}, {"button_done", {109, 219, 111, 36}},
      {"panel_wait", {9, 122, 309, 49}},        {"Image4", {146, 128, 503, 120}},
  };
  for (const auto& [name, rect] : places) {
    auto* widget = window->findChild<QWidget*>(name);
    ASSERT_NE(widget, nullptr) << name;
    EXPECT_EQ(widget->geometry(), rect) << name;
  }
  const int lefts[] = {153, 208, 263, 318, 373, 428, 483, 538, 594};
  for (int n = 1; n <= 9; ++n) {
    EXPECT_EQ(tile(n)->geometry(), QRect(lefts[n - 1], 128, 48, 91)) << n;
    EXPECT_EQ(tile(n)->tag(), n);
  }
  const int tops[] = {15, 36, 57, 79, 100, 121, 142, 164, 185, 206};
  for (int r = 1; r <= 10; ++r) {
    QLabel* cell = label(QString("label_r%1").arg(r));
    EXPECT_EQ(cell->pos(), QPoint(85, tops[r - 1]));
    EXPECT_EQ(cell->text(), "0");
  }
}

TEST_F(Board, MenusCarryTheirCaptionsShortcutsAndMarks) {
  QStringList menus;
  for (QAction* action : window->menuBar()->actions()) menus << action->text().remove('&');
  EXPECT_EQ(menus, (QStringList{"File", "Options", "View", "Help", "Multiplayer Version of Velnor"}));
  EXPECT_EQ(window->StartGame1->shortcut(), QKeySequence("Ctrl+S"));
  EXPECT_EQ(window->Help2->shortcut(), QKeySequence("F1"));
  EXPECT_EQ(window->ChangeName1->text(), "Change  Name");
  EXPECT_TRUE(window->PlaySounds1->isChecked());
  EXPECT_TRUE(window->updatecheck->isChecked());
}

TEST_F(Board, NameDialogDoneCopiesAndCancelKeepsTheTyping) {
  window->edit_aname->setText("Ann");
  click(window->button_namedone);
  EXPECT_EQ(window->edit_name->text(), "Ann");
  EXPECT_FALSE(window->panel_name->isVisible());

  window->ChangeName1->trigger();
  EXPECT_TRUE(window->panel_name->isVisible());
  window->edit_aname->setText("Bob");
  click(window->button_namecancel);
  EXPECT_EQ(window->edit_name->text(), "Ann");
  window->ChangeName1->trigger();
  EXPECT_EQ(window->edit_aname->text(), "Bob");
}

// A name is text, whatever it holds: "<h1>B</h1>" once made the greeting a huge heading that
// read "Good Luck B".
TEST_F(Board, ANameThatLooksLikeMarkupIsShownAsTyped) {
  window->edit_aname->setText("<h1>B</h1>");
  click(window->button_namedone);
  click(window->button_start);
  QLabel* greeting = label("label_name");
  EXPECT_EQ(QAccessible::queryAccessibleInterface(greeting)->text(QAccessible::Name), "Good Luck <h1>B</h1>");
  EXPECT_LE(greeting->sizeHint().height(), QFontMetrics(greeting->font()).height() + 2) << "not one line";
}

TEST_F(Board, ANameTooLongForTheBoxIsStoppedWithAHint) {
  QTest::keyClicks(window->edit_aname, "Abcdefghijkl");
  EXPECT_EQ(window->edit_aname->text(), "Abcdefghij");
  EXPECT_TRUE(QToolTip::isVisible());
  EXPECT_EQ(QToolTip::text(), "A name has at most 10 characters.");
}

// A whole game, clicked through the real window with a known seed.
TEST_F(Board, TenRoundGameFromStartToGameOver) {
  window->edit_aname->setText("Ann");
  click(window->button_namedone);
  click(window->button_start);
  EXPECT_EQ(tally.increases, std::vector<int>{1});
  EXPECT_EQ(label("label_name")->text(), "Good Luck Ann");
  EXPECT_FALSE(window->panel_name->isVisible());

  RandomGen replay;
  replay.setseed(kSeed);
  int total = 0;
  int allshut = 0;
  bool saw_invalid = false, saw_unselect = false, saw_noplay = false;
  for (int round = 1; round <= 10; ++round) {
    EXPECT_EQ(label("label_roundnum")->text(), QString("Round: %1 of 10").arg(round));
    EXPECT_EQ(label("label_status")->text(), "Roll the Dice!");
    EXPECT_EQ(sounds.played.last(), "turnnew");
    EXPECT_EQ(hints(), "uuuuuuuuu");
    while (true) {
      ASSERT_TRUE(window->button_roll->isVisible());
      EXPECT_EQ(window->dice1->pos(), QPoint(19, 67));
      const DieThrow d1 = throw_die(replay, 1, 505, 121, window->dice1->y());
      const DieThrow d2 = throw_die(replay, 2, 505, 121, window->dice2->y());
      sounds.played.clear();
      click(window->button_roll);
      EXPECT_EQ(window->dice1->property("tag").toInt(), d1.value);
      EXPECT_EQ(window->dice2->property("tag").toInt(), d2.value);
      EXPECT_EQ(window->dice1->pos(), QPoint(d1.left, d1.top));
      EXPECT_EQ(window->dice2->pos(), QPoint(d2.left, d2.top));
      EXPECT_EQ(window->game().dicetotal(), d1.value + d2.value);
      EXPECT_EQ(label("label_total")->text(), "0");

      const std::vector<int> chosen = pick(hints(), d1.value + d2.value);
      if (chosen.empty()) {
        // No play: the round ends at once, the dice stay where they landed.
        saw_noplay = true;
        EXPECT_EQ(sounds.played, QStringList{"shutsome"});
        EXPECT_EQ(window->dice1->pos(), QPoint(d1.left, d1.top));
        break;
      }
      EXPECT_EQ(sounds.played, QStringList{"Dice"});
      EXPECT_EQ(label("label_status")->text(), "Select Boxes to Shut!");
      EXPECT_FALSE(window->button_roll->isVisible());

      const int shut_tile = hints().indexOf('p') + 1;
      if (shut_tile > 0 && !saw_invalid) {
        const QString before = hints();
        sounds.played.clear();
        press_tile(shut_tile);
        EXPECT_EQ(sounds.played, QStringList{"invalid"});
        EXPECT_EQ(hints(), before);
        saw_invalid = true;
      }
      if (!saw_unselect && chosen.size() > 1) {
        press_tile(chosen.front());
        EXPECT_EQ(tile(chosen.front())->hint(), "d");
        EXPECT_EQ(label("label_total")->text(), QString::number(chosen.front()));
        press_tile(chosen.front());
        EXPECT_EQ(tile(chosen.front())->hint(), "u");
        EXPECT_EQ(label("label_total")->text(), "0");
        saw_unselect = true;
      }
      for (int n : chosen) press_tile(n);
      for (int n : chosen) EXPECT_EQ(tile(n)->hint(), "p");
      if (window->game().phase() == Phase::roundover) break;
      EXPECT_EQ(label("label_status")->text(), "Roll Again");
      EXPECT_EQ(window->dice1->pos(), QPoint(19, 67));
    }
    const int score = window->game().roundscore(round);
    total += score;
    if (score == 65) {
      ++allshut;
      EXPECT_EQ(label("label_status")->text(), "YOU VELNOR! +65");
      EXPECT_EQ(sounds.played.last(), "SHUTTTHEMALL");
    } else {
      EXPECT_EQ(label("label_status")->text(), QString("Round Score: %1").arg(score));
      EXPECT_EQ(sounds.played.last(), "shutsome");
    }
    EXPECT_EQ(label(QString("label_r%1").arg(round))->text(), QString::number(score));
    EXPECT_EQ(label("label_score")->text(), QString("Score: %1").arg(total));
    EXPECT_FALSE(window->button_roll->isVisible());
    // Clicks and rolls do nothing during the pause.
    press_tile(1);
    window->button_rollClick();
    EXPECT_EQ(window->game().phase(), Phase::roundover);
    sounds.played.clear();
    finish_pause();
  }
  EXPECT_TRUE(saw_invalid);
  EXPECT_TRUE(saw_unselect);
  EXPECT_TRUE(saw_noplay);
  EXPECT_FALSE(window->pausetimer->isActive());
  EXPECT_TRUE(window->panel_cleared->isVisible());
  EXPECT_EQ(label("label_score1")->text(), QString("Your Score: %1").arg(total));
  EXPECT_EQ(label("label_roundnum")->text(), "Round: 10 of 10");
  EXPECT_FALSE(window->button_roll->isVisible());
  EXPECT_EQ(sounds.played, QStringList{"gameover"});
  EXPECT_FALSE(window->game().gameon());
  std::vector<int> expected_increases{1};
  expected_increases.insert(expected_increases.end(), allshut, 2);
  EXPECT_EQ(tally.increases, expected_increases);
  ASSERT_EQ(tally.scores.size(), 1u);
  EXPECT_EQ(tally.scores[0], std::make_pair(total, QString("Ann")));

  click(window->button_done);
  EXPECT_FALSE(window->panel_cleared->isVisible());
}

TEST_F(Board, NewGameRestartsEvenDuringThePause) {
  click(window->button_namedone);
  click(window->button_start);
  // Play until the first round ends, shutting the largest tiles.
  while (window->game().phase() != Phase::roundover) {
    click(window->button_roll);
    if (window->game().phase() == Phase::selecting)
      for (int n : pick(hints(), window->game().dicetotal())) press_tile(n);
  }
  ASSERT_TRUE(window->pausetimer->isActive());
  const int shut = hints().count('p');
  sounds.played.clear();
  window->StartGame1->trigger();
  EXPECT_FALSE(window->pausetimer->isActive());
  EXPECT_EQ(window->game().round(), 1);
  EXPECT_EQ(hints(), "uuuuuuuuu");
  EXPECT_EQ(sounds.played.count("slide"), shut);
  EXPECT_EQ(sounds.played.last(), "turnnew");
  EXPECT_EQ(label("label_r1")->text(), "0");
  EXPECT_EQ(label("label_score")->text(), "Score: 0");
  EXPECT_EQ(tally.increases.front(), 1);
  EXPECT_EQ(std::count(tally.increases.begin(), tally.increases.end(), 1), 2);
}

// A posting that cannot be sent at all (here: no high-score window to send it) is told at once,
// not after the wait, and VIEW HIGH SCORES does nothing rather than fail.
TEST_F(Board, APostingThatCannotBeSentIsToldAtOnce) {
  click(window->button_namedone);
  play_game();
  ASSERT_TRUE(window->panel_cleared->isVisible());
  click(window->button_sendscore);
  EXPECT_EQ(dialogs.messages, QStringList{"Posting Failed."});
  EXPECT_FALSE(window->Timer1->isActive());
  click(window->button_highscore);
  EXPECT_TRUE(window->panel_cleared->isVisible());
}

TEST_F(Board, SoundSwitchGatesEveryCue) {
  window->PlaySounds1->trigger();
  EXPECT_FALSE(window->PlaySounds1->isChecked());
  sounds.played.clear();
  click(window->button_namedone);
  click(window->button_start);
  click(window->button_roll);
  EXPECT_TRUE(sounds.played.isEmpty());
}

TEST_F(Board, ResetAndMinimumSizeKeepTheBoardWhole) {
  window->set_bounds(QRect(200, 150, 900, 500));
  EXPECT_EQ(window->bounds().topLeft(), QPoint(200, 150));
  window->resize(100, 100);
  EXPECT_GE(window->centralWidget()->width(), 686);
  EXPECT_GE(window->centralWidget()->height(), 327);
  window->ResetScreenLocation1->trigger();
  EXPECT_EQ(window->bounds().topLeft(), QPoint(3, 3));
  EXPECT_GE(window->centralWidget()->width(), 686);
  EXPECT_GE(window->centralWidget()->height(), 327);
}

TEST_F(Board, KeysPlayLikeClicksButNotWhileTyping) {
  click(window->button_namedone);
  click(window->button_start);
  QTest::keyClick(&*window, Qt::Key_1);  // no effect while a roll is awaited
  EXPECT_EQ(hints(), "uuuuuuuuu");
  QTest::keyClick(&*window, Qt::Key_Space);
  ASSERT_NE(window->game().phase(), Phase::awaitingroll);
  if (window->game().phase() == Phase::selecting) {
    const int total = window->game().dicetotal();
    QTest::keyClick(&*window, Qt::Key_R);  // the roll picture is hidden: nothing happens
    EXPECT_EQ(window->game().dicetotal(), total);
    const int first = total > 9 ? 9 : total;
    QTest::keyClick(&*window, Qt::Key(Qt::Key_0 + first), Qt::KeypadModifier);
    EXPECT_EQ(tile(first)->hint(), first == total ? "p" : "d");
  }
  const QString before = hints();
  window->ChangeName1->trigger();
  QTest::keyClicks(window->edit_aname, "R5 ");
  EXPECT_TRUE(window->edit_aname->text().endsWith("R5 "));
  EXPECT_EQ(hints(), before);
}

TEST_F(Board, NothingTicksWhileThePlayerIdles) {
  const auto ticking = [&] {
    QStringList names;
    for (const QTimer* timer : window->findChildren<QTimer*>())
      if (timer->isActive()) names << timer->objectName() + "/" + timer->parent()->objectName();
    return names;
  };
  EXPECT_EQ(ticking(), QStringList{});
  click(window->button_namedone);
  play_game();
  // The last slides finish; then the game-over screen is as still as the start.
  EXPECT_TRUE(QTest::qWaitFor([&] { return ticking().isEmpty(); }, 5000)) << ticking().join(", ").toStdString();
}

// With the name panel dismissed by its DONE button, the program sleeps: no timer of its own and
// no blinking cursor in a hidden name box (which also took the keys meant for the game).
TEST_F(Board, TheDismissedNamePanelLeavesNothingAwake) {
  QApplication::setActiveWindow(&*window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&*window));
  ASSERT_TRUE(window->edit_aname->hasFocus());
  click(window->button_namedone);
  ASSERT_NE(QApplication::focusWidget(), nullptr);
  EXPECT_TRUE(QApplication::focusWidget()->isVisible()) << "a hidden control holds the keyboard";

  struct TimerCount : QObject {
    int ticks = 0;
    bool eventFilter(QObject*, QEvent* event) override {
      ticks += event->type() == QEvent::Timer;
      return false;
    }
  } count;
  qApp->installEventFilter(&count);
  // Longer than a cursor's blink: a blinking cursor would tick at least twice.
  QTest::qWait(2 * QApplication::cursorFlashTime());
  qApp->removeEventFilter(&count);
  EXPECT_EQ(count.ticks, 0);
}

// Tab on the name panel goes round its own box and buttons, never on to the tiles it covers; an
// update offer shown over it takes the keyboard on the next Tab.
TEST_F(Board, TheNamePanelKeepsTheKeyboardOnTab) {
  QApplication::setActiveWindow(&*window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&*window));
  ASSERT_TRUE(window->edit_aname->hasFocus());
  const std::pair<Qt::Key, QWidget*> steps[] = {{Qt::Key_Tab, window->button_namedone},
                                                {Qt::Key_Tab, window->button_namecancel},
                                                {Qt::Key_Tab, window->edit_aname},
                                                {Qt::Key_Backtab, window->button_namecancel}};
  for (const auto& [key, reached] : steps) {
    QTest::keyClick(QApplication::focusWidget(), key);
    EXPECT_EQ(QApplication::focusWidget(), reached) << QApplication::focusWidget()->objectName().toStdString();
  }
  window->panel_update->show();
  window->panel_update->raise();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), window->updater->button_updateyes);
}

// Best play on request: at each roll H marks exactly the tiles the solver would shut, a pick takes
// the mark away, and the coach, following the game turn by turn, finds that best play cost nothing.
TEST_F(Board, BestMoveMarksTheSolversTilesAndTheCoachFollows) {
  click(window->button_namedone);
  window->Coach1->trigger();
  auto* coach = window->findChild<Tcoach*>("Tcoach");
  ASSERT_NE(coach, nullptr);
  const int rolls = play_game([&] {
    window->ShowBestMove1->trigger();
    const unsigned best = Solver::table().best(kAllTiles & ~window->game().shutmask(), window->game().dicetotal());
    unsigned marked = 0;
    for (const QRect& place : window->bestmove_marks->marked()) {
      for (int n = 1; n <= 9; ++n)
        if (tile(n)->geometry() == place) marked |= 1u << (n - 1);
    }
    ASSERT_EQ(marked, best) << "roll " << window->game().dicetotal();
    ASSERT_TRUE(window->bestmove_marks->isVisible());
    bool first = true;
    for (int n = 1; n <= 9; ++n)
      if (best & (1u << (n - 1))) {
        press_tile(n);
        if (first) {
          EXPECT_FALSE(window->bestmove_marks->isVisible()) << "a pick left the mark";
        }
        first = false;
      }
  });
  ASSERT_TRUE(coach->isVisible());
  EXPECT_NE(coach->findChild<QLabel*>(QString("label_roll%1").arg(rolls)), nullptr);
  EXPECT_EQ(coach->findChild<QLabel*>(QString("label_roll%1").arg(rolls + 1)), nullptr);
  EXPECT_EQ(coach->label_totalcost->text(), "Your choices cost 0.0 points");
}
