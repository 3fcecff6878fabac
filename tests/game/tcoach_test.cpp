// The coach window fed a seeded game, row by row against the solver.
#include <QLabel>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

#include "game/solver.h"
#include "game/tcoach.h"
#include "game/tcoachchart.h"
#include "rules/gamerecord.h"
#include "rules/randomgen.h"
#include "rules/tgame.h"
#include "support/fakes.h"

namespace velnor::testing {
namespace {

struct Coach : ::testing::Test {
  GameRecord record;
  Tgame game;
  RandomGen dice;

  void SetUp() override {
    dice.setseed(4242);
    game.newgame();
  }

  // Plays rounds through the rules, telling the record as the main window does;
  // every third turn takes the worst choice, the others the best.
  void play_rounds(int rounds) {
    for (int r = 0; r < rounds && game.startround(); ++r) {
      record.on_round_start();
      for (int turn = 0; game.phase() != Phase::roundover; ++turn) {
        const int first = dice.random(6) + 1;
        const int second = dice.random(6) + 1;
        record.on_roll(first, second);
        const unsigned open = game.openmask();
        if (game.roll(first, second) != RollOutcome::play) break;
        const std::vector<Choice> choices = Solver::table().choices(open, game.dicetotal());
        const unsigned shut = (turn % 3 == 2 ? choices.back() : choices.front()).tiles;
        for (int n = 1; n <= 9; ++n)
          if (shut & (1u << (n - 1))) game.clicktile(n);
        record.on_turn_shut(shut);
      }
      record.on_round_end(game.roundscore(game.round()));
    }
  }

  static QString cell(const Tcoach& coach, const char* column, std::size_t row) {
    const auto* label = coach.findChild<QLabel*>(QString("%1%2").arg(column).arg(row));
    return label == nullptr ? QString("(none)") : label->text();
  }
};

TEST_F(Coach, RowsShowEveryTurnWithTheSolversBestChoiceAndCost) {
  play_rounds(3);
  Tcoach coach(record);
  coach.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&coach));

  const Solver& solver = Solver::table();
  EXPECT_EQ(coach.label_bestplay->text(),
            QString("Best play averages %1 a game").arg(10 * solver.expected(kAllTiles), 0, 'f', 1));
  const std::vector<Turn>& turns = record.turns();
  double total_cost = 0.0;
  bool costly_seen = false;
  for (std::size_t i = 0; i < turns.size(); ++i) {
    const Turn& turn = turns[i];
    const std::size_t row = i + 1;
    SCOPED_TRACE("row " + std::to_string(row));
    // A round's number heads its first turn only.
    const bool first = i == 0 || turns[i - 1].round != turn.round;
    EXPECT_EQ(cell(coach, "label_round", row), first ? QString::number(turn.round) : QString());
    EXPECT_EQ(cell(coach, "label_roll", row), QString::number(turn.total()));
    if (turn.shut == 0) {
      EXPECT_EQ(cell(coach, "label_shut", row), "no play");
      continue;
    }
    const std::vector<Choice> choices = solver.choices(turn.open, turn.total());
    const auto theirs =
        std::find_if(choices.begin(), choices.end(), [&](const Choice& c) { return c.tiles == turn.shut; });
    ASSERT_NE(theirs, choices.end());
    const double cost = choices.front().expected - theirs->expected;
    total_cost += cost;
    EXPECT_EQ(cell(coach, "label_shut", row), QString::fromStdString(tiles_text(turn.shut)));
    EXPECT_EQ(cell(coach, "label_best", row), QString::fromStdString(tiles_text(choices.front().tiles)));
    EXPECT_EQ(cell(coach, "label_cost", row),
              cost > 0.0 && cost < 0.05 ? QString("<0.1") : QString::number(cost, 'f', 1));
    // Costly turns stand out on a band of their own.
    const bool costly = cost >= Tcoach::kCostlyTurn;
    costly_seen = costly_seen || costly;
    EXPECT_EQ(coach.findChild<QWidget*>(QString("band%1").arg(row)) != nullptr, costly);
  }
  EXPECT_TRUE(costly_seen) << "the seeded game should hold a costly turn";
  EXPECT_EQ(cell(coach, "label_shut", turns.size() + 1), "(none)");
  EXPECT_EQ(coach.label_totalcost->text(), QString("Your choices cost %1 points").arg(total_cost, 0, 'f', 1));
  EXPECT_EQ(coach.chart->scores(), record.round_scores());

  // Told of the game's progress, it follows at once while showing; a roll
  // whose tiles are still being chosen waits for them.
  play_rounds(1);
  record.on_round_start();
  record.on_roll(3, 4);
  coach.game_changed();
  EXPECT_EQ(coach.chart->scores().size(), 4u);
  EXPECT_EQ(cell(coach, "label_roll", turns.size()), QString::number(turns.back().total()));
  EXPECT_EQ(cell(coach, "label_roll", turns.size() + 1), "(none)");
  // Hidden, it follows when it is shown again; a new game empties it.
  coach.hide();
  record.on_game_start();
  coach.game_changed();
  coach.show();
  EXPECT_EQ(cell(coach, "label_roll", 1), "(none)");
  EXPECT_TRUE(coach.chart->scores().empty());
  EXPECT_EQ(coach.label_totalcost->text(), "No turns to review yet");
}

// Opened, the coach is as tall as its rows need, never taller than the work area of its
// owner's screen, and never smaller than its chart and headings.
TEST_F(Coach, OpensAsTallAsItsRowsNeedWithinTheScreen) {
  QWidget owner;
  owner.show();
  const int least = Tcoach(record, &owner).height();
  play_rounds(1);
  const int one_round = Tcoach(record, &owner).height();
  play_rounds(9);
  const int whole_game = Tcoach(record, &owner).height();
  EXPECT_EQ(one_round, least) << "a round's rows fit the least height";
  EXPECT_GT(whole_game, least);
  EXPECT_LE(whole_game, owner.screen()->availableGeometry().height());
}

}  // namespace
}  // namespace velnor::testing
