// The installed game as a screen reader's user meets it: every control of the board read through
// AT-SPI with its role, name and state, every window read whole, and a whole round played with the
// screen reader's presses and what it reads and hears alone.
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

// What a screen reader's user could not make out in the program's windows: a window without its
// caption, a control or picture without a name, a table whose cells have no headings.
QStringList unreadable(const AccessibleTree& tree) {
  QStringList faults;
  QStringList path;  // the objects above, by depth
  for (const Accessible& object : tree) {
    path.resize(object.depth);
    const QString what = object.role + " '" + object.name + "' in " + path.join(" > ");
    path << object.role + " '" + object.name + "'";
    if ((object.role == "frame" || object.role == "dialog") && object.name.isEmpty()) faults << "no name: " + what;
    if (object.name.isEmpty() && (object.is("focusable") || object.role == "image")) faults << "no name: " + what;
    if (object.table &&
        (object.table->column_headers < object.table->columns || object.table->row_headers < object.table->rows))
      faults << QString("headers of %1 of %2 columns and %3 of %4 rows: %5")
                    .arg(object.table->column_headers)
                    .arg(object.table->columns)
                    .arg(object.table->row_headers)
                    .arg(object.table->rows)
                    .arg(what);
  }
  return faults;
}

// The objects of that role, showing or not.
int count_role(const AccessibleTree& tree, const QString& role) {
  return static_cast<int>(
      std::count_if(tree.begin(), tree.end(), [&](const Accessible& object) { return object.role == role; }));
}

// The showing cells of the table of that name.
int cells_of(const AccessibleTree& tree, const QString& table) {
  int cells = 0;
  for (auto at = tree.begin(); at != tree.end(); ++at) {
    if (at->role != "table" || at->name != table) continue;
    for (auto cell = at + 1; cell != tree.end() && cell->depth > at->depth; ++cell)
      if (cell->depth == at->depth + 1 && cell->is("showing")) ++cells;
  }
  return cells;
}

class ScreenReading : public InstalledGame {
 protected:
  void SetUp() override {
    InstalledGame::SetUp();
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_NO_FATAL_FAILURE(start_screen_reader());
  }

  void start_game() {
    ASSERT_NO_FATAL_FAILURE(launch());
    ASSERT_NO_FATAL_FAILURE(find_main_window());
  }

  bool reads(const char* what, const std::function<bool(const AccessibleTree&)>& check, int timeout_ms = kTurnMs) {
    return reader.wait_for(game, timeout_ms, check, what);
  }
};

}  // namespace

TEST_F(ScreenReading, EveryControlHasItsRoleNameAndState) {
  ASSERT_NO_FATAL_FAILURE(start_game());
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

// A German desktop: the screen reader reads the board in German, not in the source's English.
TEST_F(ScreenReading, TheBoardReadsInThePlayersLanguage) {
  extra_environment.insert("LANG", "de_DE.UTF-8");
  ASSERT_NO_FATAL_FAILURE(start_game());
  ASSERT_TRUE(reads("the name box, in German", [](const AccessibleTree& tree) {
    const std::optional<Accessible> box = find_showing(tree, "text", "Dein Name");
    return box && box->is("focused");
  }));
  EXPECT_TRUE(has_button(reader.last, "NEUES SPIEL"));
  for (const char* label : {"Punkte: 0", "Würfel: noch nicht gewürfelt"})
    EXPECT_TRUE(has_label(reader.last, label)) << label;
}

// Every window the game opens, read whole: each named by its caption, and nothing in them that a
// screen reader's user could not make out.
TEST_F(ScreenReading, EveryWindowReadsWhole) {
  // The game's own server, for the high-score page; its dice are not played here.
  ASSERT_NO_FATAL_FAILURE(start_server(std::nullopt));
  ASSERT_NO_FATAL_FAILURE(start_game());
  ASSERT_TRUE(reads("the name panel", [](const AccessibleTree& tree) { return has_button(tree, "DONE"); }));
  reader.press(game, "DONE");
  const auto open = [&](const QStringList& menu_keys, const QString& caption) {
    ASSERT_NO_FATAL_FAILURE(open_file_menu({"F10"}));
    x.keys(menu_keys);
    ASSERT_NE(wait_window(caption), 0u) << caption.toStdString();
  };
  ASSERT_NO_FATAL_FAILURE(open({"Right", "Right", "Return"}, "Velnor Solo - Tally List"));
  ASSERT_NO_FATAL_FAILURE(open({"Right", "Right", "Down", "Return"}, "Velnor Solo - High Scores"));
  ASSERT_NO_FATAL_FAILURE(open({"Right", "Right", "Right", "Down", "Return"}, "Velnor Solo - About"));
  x.focus(window);
  x.keys({"alt+m"});
  ASSERT_NE(wait_window("Velnor Solo - Multiplayer"), 0u);
  x.focus(window);
  x.keys({"F1"});
  ASSERT_NE(wait_window("Velnor Solo - Help File"), 0u);
  x.focus(window);
  x.keys({"c"});
  ASSERT_NE(wait_window("Velnor Solo - Coach"), 0u);

  const QStringList captions = {"Velnor Solo",         "Velnor Solo - Tally List",  "Velnor Solo - High Scores",
                                "Velnor Solo - About", "Velnor Solo - Multiplayer", "Velnor Solo - Help File",
                                "Velnor Solo - Coach"};
  ASSERT_TRUE(reads("every window, by its caption", [&](const AccessibleTree& tree) {
    return std::all_of(captions.begin(), captions.end(), [&](const QString& caption) {
      return std::any_of(tree.begin(), tree.end(), [&](const Accessible& object) {
        return object.depth == 1 && (object.role == "frame" || object.role == "dialog") && object.name == caption;
      });
    });
  }));
  // The high-score page, once it has come, is read as a table under its headings.
  ASSERT_TRUE(reads("the high-score list's headings", [](const AccessibleTree& tree) {
    return std::any_of(tree.begin(), tree.end(), [](const Accessible& object) {
      return object.role == "table column header" && object.name == "Rank";
    });
  }));
  const AccessibleTree& windows = reader.last;
  EXPECT_EQ(unreadable(windows).join('\n').toStdString(), "");
  // The round scores and the tally are tables; About's version is one text.
  EXPECT_TRUE(find_showing(windows, "table", "Round scores"));
  EXPECT_TRUE(find_showing(windows, "table", "High scores"));
  EXPECT_TRUE(has_label(windows, QString("Version ") + VELNOR_VERSION + ".2"));
  EXPECT_GE(count_role(windows, "table"), 4);
}

TEST_F(ScreenReading, ARoundPlaysWithTheScreenReaderAlone) {
  ASSERT_NO_FATAL_FAILURE(start_game());
  ASSERT_TRUE(reads("the name panel", [](const AccessibleTree& tree) { return has_button(tree, "DONE"); }));
  // A name that looks like markup is greeted as typed, and read out so.
  x.focus(window);
  x.type("<b>x</b>");
  reader.press(game, "DONE");
  reader.listen(game);
  reader.press(game, "START GAME");
  EXPECT_TRUE(reads("the greeting", [](const AccessibleTree& tree) { return has_label(tree, "Good Luck <b>x</b>"); }));
  DiceReplay dice(kSeed);
  TilePlayer player;
  player.new_round();
  bool picked_seen = false;
  int rolls = 0;
  QStringList announced;
  for (;;) {
    ASSERT_TRUE(reads("the roll button", [](const AccessibleTree& tree) { return has_button(tree, "Roll the dice"); }));
    const std::array<Die, 2> rolled = dice.roll();
    const int total = rolled[0].value + rolled[1].value;
    reader.press(game, "Roll the dice");
    ++rolls;
    // Each roll is read out with what the rules make of it.
    const std::optional<std::vector<int>> tiles = player.choose(total);
    const QString verdict =
        tiles ? QString(": a play") : QString(": no play, round 1 scores %1").arg(player.round_score());
    const QString expected =
        QString("Dice: %1 and %2, total %3").arg(rolled[0].value).arg(rolled[1].value).arg(total) + verdict;
    ASSERT_EQ(dice_name(reader.tree(game)), expected);
    announced << "label '" + expected + "'";
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
  const QStringList heard = reader.heard();
  for (const QString& roll : announced)
    EXPECT_TRUE(heard.contains(roll)) << "never heard " << roll.toStdString() << "; heard:\n"
                                      << heard.join('\n').toStdString();

  // The coach reads its rows as a table: a row a roll, five cells a row.
  x.focus(window);
  x.keys({"c"});
  EXPECT_TRUE(reads("the coach's table of turns", [&](const AccessibleTree& tree) {
    return find_showing(tree, "table", "Turns") && cells_of(tree, "Turns") == 5 * rolls;
  }));
  // ...each cell under its column's heading and its turn.
  EXPECT_EQ(unreadable(reader.last).join('\n').toStdString(), "");
}

int main(int argc, char** argv) { return run_installed_game_tests(argc, argv); }
