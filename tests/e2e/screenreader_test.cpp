// The installed game as a screen reader's user meets it: every control of the board read through
// AT-SPI with its role, name and state, and a whole round played with the screen reader's presses
// and what it reads alone.
#include <algorithm>

#include "installedgame.h"

using namespace velnor::testing;

namespace {

bool has_button(const AccessibleTree& tree, const QString& name) {
  const std::optional<Accessible> button = find_showing(tree, "push button", name);
  return button && button->actions.contains("Press");
}

bool has_label(const AccessibleTree& tree, const QString& name) {
  return find_showing(tree, "label", name).has_value();
}

QString tile(int n) { return QString("Tile %1").arg(n); }

// The tile's state in the game, as the screen reader tells it: open, picked or shut.
QString tile_state(const AccessibleTree& tree, int n) {
  const std::optional<Accessible> button = find_showing(tree, "push button", tile(n));
  if (!button) return "no such button";
  // A picked tile is pressed; a shut one can no longer be pressed.
  if (button->description == "picked" && !button->is("pressed")) return "picked, not pressed";
  if (button->description == "shut" && button->is("sensitive")) return "shut, still sensitive";
  return button->description;
}

// The dice as the screen reader names them: "Dice: 3 and 5, total 8".
QString dice_name(const AccessibleTree& tree) {
  for (const Accessible& object : tree)
    if (object.is("showing") && object.role == "label" && object.name.startsWith("Dice: ")) return object.name;
  return {};
}

class ScreenReading : public InstalledGame {
 protected:
  void SetUp() override {
    InstalledGame::SetUp();
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_NO_FATAL_FAILURE(start_screen_reader());
    ASSERT_NO_FATAL_FAILURE(launch());
    ASSERT_NO_FATAL_FAILURE(find_main_window());
  }

  bool reads(const char* what, const std::function<bool(const AccessibleTree&)>& check, int timeout_ms = kTurnMs) {
    return reader.wait_for(game, timeout_ms, check, what);
  }
};

}  // namespace

TEST_F(ScreenReading, EveryControlHasItsRoleNameAndState) {
  ASSERT_TRUE(reads("the name box, focused", [](const AccessibleTree& tree) {
    const std::optional<Accessible> box = find_showing(tree, "text", "Your name");
    return box && box->is("focused");
  }));
  const AccessibleTree& board = reader.last;
  for (const char* button : {"DONE", "CANCEL", "START GAME"}) EXPECT_TRUE(has_button(board, button)) << button;
  for (int n = 1; n <= 9; ++n) {
    EXPECT_TRUE(has_button(board, tile(n))) << n;
    EXPECT_EQ(tile_state(board, n), "open");
  }
  for (const char* label : {"Score: 0", "Round: 0 of 10", "Dice: not rolled yet"})
    EXPECT_TRUE(has_label(board, label)) << label;

  // The help window's page buttons turn its pages.
  x.focus(window);
  x.keys({"F1"});
  ASSERT_TRUE(reads("the help window's page buttons", [](const AccessibleTree& tree) {
    return has_button(tree, "Overview") && has_button(tree, "Game Play") && has_button(tree, "Scoring");
  }));
  reader.press(game, "Game Play");
  EXPECT_TRUE(
      reads("the Game Play page's heading", [](const AccessibleTree& tree) { return has_label(tree, "Game Play"); }));
}

TEST_F(ScreenReading, ARoundPlaysWithTheScreenReaderAlone) {
  ASSERT_TRUE(reads("the name panel", [](const AccessibleTree& tree) { return has_button(tree, "DONE"); }));
  // A name that looks like markup is greeted as typed, and read out so.
  x.focus(window);
  x.type("<b>x</b>");
  reader.press(game, "DONE");
  reader.press(game, "START GAME");
  EXPECT_TRUE(reads("the greeting", [](const AccessibleTree& tree) { return has_label(tree, "Good Luck <b>x</b>"); }));
  DiceReplay dice(kSeed);
  TilePlayer player;
  player.new_round();
  bool picked_seen = false;
  int rolls = 0;
  for (;;) {
    ASSERT_TRUE(reads("the roll button", [](const AccessibleTree& tree) { return has_button(tree, "Roll the dice"); }));
    const std::array<Die, 2> rolled = dice.roll();
    const int total = rolled[0].value + rolled[1].value;
    reader.press(game, "Roll the dice");
    ++rolls;
    const QString expected = QString("Dice: %1 and %2, total %3").arg(rolled[0].value).arg(rolled[1].value).arg(total);
    ASSERT_EQ(dice_name(reader.tree(game)), expected);
    const std::optional<std::vector<int>> tiles = player.choose(total);
    if (!tiles) break;  // no play: the round is over
    for (std::size_t k = 0; k < tiles->size(); ++k) {
      reader.press(game, tile((*tiles)[k]));
      if (k + 1 < tiles->size()) {
        EXPECT_EQ(tile_state(reader.tree(game), (*tiles)[k]), "picked");
        picked_seen = true;
      }
    }
    player.shut(*tiles);
    const AccessibleTree after = reader.tree(game);
    for (int n = 1; n <= 9; ++n) EXPECT_EQ(tile_state(after, n), player.is_open(n) ? "open" : "shut") << n;
    if (player.round_done()) break;
    dice.rest();
  }
  const int score = player.round_score();
  const QString round_line = score == 65 ? "YOU VELNOR! +65" : QString("Round Score: %1").arg(score);
  EXPECT_TRUE(reads("the round's score", [&](const AccessibleTree& tree) {
    return has_label(tree, round_line) && has_label(tree, QString("Score: %1").arg(score));
  }));
  EXPECT_TRUE(picked_seen) << "no roll of this round needed two tiles: pick another seed";

  // The coach reads its rows as a table: a row a roll, five cells a row.
  x.focus(window);
  x.keys({"c"});
  EXPECT_TRUE(reads("the coach's table of turns", [&](const AccessibleTree& tree) {
    const qsizetype cells = std::count_if(tree.begin(), tree.end(), [](const Accessible& object) {
      return object.role == "table cell" && object.is("showing");
    });
    return find_showing(tree, "table", "Turns") && cells == 5 * rolls;
  }));
}

int main(int argc, char** argv) { return run_installed_game_tests(argc, argv); }
