#include "records/tallyrecords.h"
#include "records/tlzrw1.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <tuple>
#include <vector>

using namespace velnor;
namespace fs = std::filesystem;

namespace {

constexpr const char* kDate = "05/12/2026";

// The grid text of a tally: a 9 by 12 grid with the given cells, all others empty.
std::string tally_text(const std::vector<std::tuple<int, int, std::string>>& cells) {
  TextGrid grid(9, 12);
  for (const auto& [col, row, text] : cells) grid.set_cell(col, row, text);
  return grid_text(grid);
}

std::vector<int> keys(const TallyRecords& t) {
  std::vector<int> k;
  for (int r = 1; r <= TallyRecords::kRanks; ++r) k.push_back(t.score_key(r));
  return k;
}

std::vector<std::string> names(const TallyRecords& t) {
  std::vector<std::string> n;
  for (int r = 1; r <= TallyRecords::kRanks; ++r) n.push_back(t.name(r));
  return n;
}

class TallyFile : public velnor::testing::TempFolder {
 protected:
  void SetUp() override {
    TempFolder::SetUp();
    fs::create_directories(dir_ / "cwd");
    // The records never use a work file: "temp.txt" in the current folder must stay untouched.
    previous_cwd_ = fs::current_path();
    fs::current_path(dir_ / "cwd");
    std::ofstream("temp.txt") << "someone else's";
  }
  void TearDown() override {
    EXPECT_EQ(read((dir_ / "cwd" / "temp.txt").string()), "someone else's");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "cwd"), {}), 1);
    fs::current_path(previous_cwd_);
    TempFolder::TearDown();
  }
  static std::string read(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  void write_tally(const std::string& text) const { Tlzrw1().compress_to_file(text, path("tally.tld")); }

  fs::path previous_cwd_;
};

}  // namespace

TEST(Tally, StartsEmptyAndEntersTheFirstGame) {
  TallyRecords tally;
  EXPECT_EQ(tally.counter(1), "0");
  EXPECT_EQ(tally.counter(2), "0");
  for (int r = 1; r <= 10; ++r) {
    EXPECT_EQ(tally.score_text(r), "");
    EXPECT_EQ(tally.row_look(r), RowLook::starting);
  }
  EXPECT_EQ(grid_text(tally.grid()), tally_text({{0, 0, "0"},
                                                 {1, 0, "0"},
                                                 {2, 0, "0"},
                                                 {3, 0, "0"},
                                                 {4, 0, "0"},
                                                 {1, 1, "-1000"},
                                                 {1, 2, "-1000"},
                                                 {1, 3, "-1000"},
                                                 {1, 4, "-1000"},
                                                 {1, 5, "-1000"},
                                                 {1, 6, "-1000"},
                                                 {1, 7, "-1000"},
                                                 {1, 8, "-1000"},
                                                 {1, 9, "-1000"},
                                                 {1, 10, "-1000"}}));

  EXPECT_EQ(tally.addtomineincrease(1), 1);
  EXPECT_EQ(tally.addtomineincrease(2), 1);
  EXPECT_EQ(tally.addtomineincrease(2), 2);
  EXPECT_EQ(tally.counter(1), "1");
  EXPECT_EQ(tally.counter(2), "2");

  EXPECT_EQ(tally.checkscore(120, "Ann", kDate), 1);
  EXPECT_EQ(tally.date(1), kDate);
  EXPECT_EQ(tally.name(1), "Ann");
  EXPECT_EQ(tally.score_text(1), "120");
  EXPECT_EQ(tally.row_look(1), RowLook::entered);
  EXPECT_EQ(tally.row_look(2), RowLook::plain);

  // An empty name is an entry like any other; a score that beats no stored one fills the first
  // empty rank.
  EXPECT_EQ(tally.checkscore(0, "", kDate), 2);
  EXPECT_EQ(tally.score_text(2), "0");
  EXPECT_EQ(tally.row_look(1), RowLook::plain);
  EXPECT_EQ(tally.row_look(2), RowLook::entered);
}

TEST(Tally, NewScoresGoAboveEqualOnesAndPushTheLowestOut) {
  TallyRecords tally;
  for (int s : {100, 200, 200, 300}) tally.checkscore(s, "old" + std::to_string(s), kDate);
  EXPECT_EQ(tally.checkscore(200, "new", kDate), 2);
  EXPECT_EQ(keys(tally), (std::vector<int>{300, 200, 200, 200, 100, -1000, -1000, -1000, -1000, -1000}));
  EXPECT_EQ(names(tally)[1], "new");
  EXPECT_EQ(names(tally)[4], "old100");

  TallyRecords full;
  for (int s = 180; s >= 90; s -= 10) full.checkscore(s, "n" + std::to_string(s), kDate);
  ASSERT_EQ(full.score_key(10), 90);
  EXPECT_EQ(full.checkscore(90, "last", kDate), 10);
  EXPECT_EQ(full.name(10), "last");
  EXPECT_EQ(full.name(9), "n100");

  // Below all ten: nothing moves, and every row turns plain, the last entry included.
  const std::string before = grid_text(full.grid());
  EXPECT_EQ(full.checkscore(89, "nobody", kDate), std::nullopt);
  EXPECT_EQ(grid_text(full.grid()), before);
  for (int r = 1; r <= 10; ++r) EXPECT_EQ(full.row_look(r), RowLook::plain);
}

TEST(Tally, ResetClearsCountersAndRanksUpToTheLastRow) {
  TallyRecords tally;
  tally.addtomineincrease(1);
  tally.checkscore(300, "Ann", kDate);
  tally.reset();
  EXPECT_EQ(tally.counter(1), "0");
  EXPECT_EQ(tally.counter(2), "0");
  for (int r = 1; r <= 10; ++r) {
    EXPECT_EQ(tally.score_key(r), -1000);
    EXPECT_EQ(tally.name(r), "");
    EXPECT_EQ(tally.row_look(r), RowLook::plain);
  }
  EXPECT_EQ(tally.grid().cell(1, 11), "-1000");
  EXPECT_EQ(tally.grid().cell(8, 0), "0");
  EXPECT_EQ(tally.grid().cell(0, 0), "0");
}

TEST(Tally, CounterThatHoldsNoNumberFailsAndKeepsItsText) {
  TallyRecords tally;
  tally.addtomineincrease(1);
  try {
    tally.addit(3, 3);  // an empty cell
    FAIL() << "no failure";
  } catch (const ConversionError& e) {
    EXPECT_STREQ(e.what(), "'' is not a valid integer value");
  }
  EXPECT_EQ(tally.addit(1, 0), 2);
}

TEST_F(TallyFile, SavedTallyReadsBackTheSameInTheStartingLook) {
  TallyRecords tally;
  EXPECT_FALSE(tally.load(path("tally.tld")));
  for (int i = 0; i < 7; ++i) tally.addtomineincrease(1);
  tally.addtomineincrease(2);
  tally.checkscore(333, "Zo\xEB", "1.2.2026");  // a single-byte name of the old program stays as it is
  tally.checkscore(120, "Ann", kDate);
  tally.save(path("tally.tld"));
  EXPECT_EQ(read(path("tally.tld")), Tlzrw1().compress_memory(grid_text(tally.grid()), "x"));

  TallyRecords back;
  ASSERT_TRUE(back.load(path("tally.tld")));
  EXPECT_EQ(grid_text(back.grid()), grid_text(tally.grid()));
  EXPECT_EQ(back.counter(1), "7");
  EXPECT_EQ(back.name(1), "Zo\xEB");
  EXPECT_EQ(back.date(2), kDate);
  EXPECT_EQ(back.score_text(2), "120");
  for (int r = 1; r <= 10; ++r) EXPECT_EQ(back.row_look(r), RowLook::starting);
}

TEST_F(TallyFile, AWordInAScoreCellCountsAsEmptyButIsKept) {
  write_tally(tally_text({{1, 0, "4"}, {1, 1, "250"}, {2, 1, "Bo"}, {1, 2, "lots"}, {2, 2, "Cy"}}));
  TallyRecords tally;
  ASSERT_TRUE(tally.load(path("tally.tld")));
  EXPECT_EQ(tally.score_text(2), "");
  EXPECT_EQ(tally.score_key(2), -1000);
  EXPECT_EQ(tally.grid().cell(1, 2), "lots");
  EXPECT_EQ(tally.grid().cell(1, 3), "-1000");  // an empty score cell becomes the empty mark

  // An entry above it moves the word down with its row; one beneath it never sees it.
  EXPECT_EQ(tally.checkscore(10, "Di", kDate), 2);
  EXPECT_EQ(tally.grid().cell(1, 3), "lots");
  EXPECT_EQ(tally.name(3), "Cy");
  tally.save(path("tally.tld"));
  TallyRecords back;
  back.load(path("tally.tld"));
  EXPECT_EQ(back.grid().cell(1, 3), "lots");
}

TEST_F(TallyFile, UnreadableTallyKeepsWhatWasReadAndStaysUsable) {
  TallyRecords tally;
  std::ofstream(path("tally.tld"), std::ios::binary) << "not a container";
  try {
    tally.load(path("tally.tld"));
    FAIL() << "no failure";
  } catch (const ELzrw1Exception& e) {
    EXPECT_EQ(e.what(), path("tally.tld") + " : Lzrw1 decompression : this file has no valid header !");
  }
  EXPECT_EQ(grid_text(tally.grid()), grid_text(TallyRecords().grid()));

  // A grid cut off at its row count: the columns already read stay, and the tally still has every
  // cell it needs.
  write_tally("3\r\nrows\r\n");
  EXPECT_THROW(tally.load(path("tally.tld")), GridFileError);
  EXPECT_EQ(tally.grid().colcount(), 9);
  EXPECT_EQ(tally.grid().rowcount(), 12);
  EXPECT_EQ(tally.checkscore(50, "Ed", kDate), 1);

  // A small grid grows to the tally's size.
  write_tally("2\r\n2\r\n0\r\n\r\n5\r\n77\r\n");
  TallyRecords small;
  ASSERT_TRUE(small.load(path("tally.tld")));
  EXPECT_EQ(small.counter(1), "5");
  EXPECT_EQ(small.score_text(1), "77");
  EXPECT_EQ(small.checkscore(80, "Fay", kDate), 1);
  EXPECT_EQ(small.score_text(2), "77");

  // One column of as many rows as a grid may hold: the tally's columns still fit.
  write_tally("1\r\n1048576\r\n");
  ASSERT_TRUE(small.load(path("tally.tld")));
  EXPECT_GE(small.grid().colcount(), 9);
  EXPECT_EQ(small.checkscore(1, "Gil", kDate), 1);
}

TEST_F(TallyFile, FailedSaveLeavesThePreviousTally) {
  TallyRecords tally;
  tally.checkscore(120, "Ann", kDate);
  tally.save(path("tally.tld"));
  const std::string saved = read(path("tally.tld"));

  tally.checkscore(500, "Gus", kDate);
  fs::create_directory(path("tally.tld.new"));  // the new file cannot be written
  EXPECT_THROW(tally.save(path("tally.tld")), ELzrw1Exception);
  EXPECT_EQ(read(path("tally.tld")), saved);
  fs::remove(path("tally.tld.new"));
  tally.save(path("tally.tld"));
  EXPECT_FALSE(fs::exists(path("tally.tld.new")));
  TallyRecords back;
  back.load(path("tally.tld"));
  EXPECT_EQ(back.name(1), "Gus");
}
