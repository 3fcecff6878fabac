#include "records/gridtext.h"

#include "core/bytetext.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

#include <unistd.h>
#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>

using namespace velnor;
namespace fs = std::filesystem;

namespace {

using GridFile = velnor::testing::TempFolder;

TextGrid from_text(const std::string& text) {
  TextGrid grid;
  read_grid_text(grid, text);
  return grid;
}

}  // namespace

TEST(GridText, WritesCountsThenCellsColumnByColumnWithCrLf) {
  TextGrid grid(2, 2);
  grid.set_cell(0, 0, "a");
  grid.set_cell(1, 0, "b");
  grid.set_cell(1, 1, "c");
  EXPECT_EQ(grid_text(grid), "2\r\n2\r\na\r\n\r\nb\r\nc\r\n");

  TextGrid tally(9, 12);
  tally.set_cell(8, 11, "last");
  const std::string text = grid_text(tally);
  EXPECT_EQ(text.substr(0, 7), "9\r\n12\r\n");
  EXPECT_EQ(text.size(), 7 + 107 * 2 + 6);  // 108 cells, all empty but the last
  EXPECT_EQ(text.substr(text.size() - 8), "\r\nlast\r\n");
}

TEST(GridText, LineEndsFollowCrOnlyAndCtrlZEndsTheText) {
  // CR alone ends a line, CR LF is one line end, a bare LF stays in the cell's text.
  TextGrid grid = from_text("1\r\n4\r\none\rtwo\r\nthree\nstill three\r\nfour");
  ASSERT_EQ(grid.rowcount(), 4);
  EXPECT_EQ(grid.cell(0, 0), "one");
  EXPECT_EQ(grid.cell(0, 1), "two");
  EXPECT_EQ(grid.cell(0, 2), "three\nstill three");
  EXPECT_EQ(grid.cell(0, 3), "four");

  grid = from_text("1\r\n3\r\nkept\r\ncut\x1Ahidden\r\nhidden\r\n");
  EXPECT_EQ(grid.cell(0, 0), "kept");
  EXPECT_EQ(grid.cell(0, 1), "cut");
  EXPECT_EQ(grid.cell(0, 2), "");
}

TEST(GridText, CountsSkipLeadingSpaceIgnoreTheRestOfTheirLineAndAreAtLeastOne) {
  TextGrid grid = from_text("\r\n  \t3 columns\r\n\n 2\tx\r\na\r\nb\r\n");
  EXPECT_EQ(grid.colcount(), 3);
  EXPECT_EQ(grid.rowcount(), 2);
  EXPECT_EQ(grid.cell(0, 0), "a");
  EXPECT_EQ(grid.cell(0, 1), "b");

  grid = from_text("0\r\n-5\r\nonly\r\n");
  EXPECT_EQ(grid.colcount(), 1);
  EXPECT_EQ(grid.rowcount(), 1);
  EXPECT_EQ(grid.cell(0, 0), "only");

  grid = from_text("");
  EXPECT_EQ(grid.colcount(), 1);
  EXPECT_EQ(grid.rowcount(), 1);
  EXPECT_EQ(grid.cell(0, 0), "");
}

TEST(GridText, ShortTextEmptiesTheRemainingCells) {
  TextGrid grid(2, 2);
  for (int c = 0; c < 2; ++c)
    for (int r = 0; r < 2; ++r) grid.set_cell(c, r, "old");
  read_grid_text(grid, "2\r\n2\r\nnew\r\n");
  EXPECT_EQ(grid.cell(0, 0), "new");
  EXPECT_EQ(grid.cell(0, 1), "");
  EXPECT_EQ(grid.cell(1, 0), "");
  EXPECT_EQ(grid.cell(1, 1), "");
}

TEST(GridText, BadCountFailsAfterApplyingWhatCameBefore) {
  TextGrid grid(9, 12);
  grid.set_cell(0, 0, "kept");
  try {
    read_grid_text(grid, "3\r\nrows\r\n");
    FAIL() << "no failure";
  } catch (const GridFileError& e) {
    EXPECT_STREQ(e.what(), "Invalid numeric input");
  }
  EXPECT_EQ(grid.colcount(), 3);
  EXPECT_EQ(grid.rowcount(), 12);
  EXPECT_EQ(grid.cell(0, 0), "kept");

  EXPECT_THROW(read_grid_text(grid, "9x\r\n"), GridFileError);
  EXPECT_THROW(read_grid_text(grid, "99999999999\r\n1\r\n"), GridFileError);
  EXPECT_EQ(grid.colcount(), 3);
}

TEST(GridText, RefusesSizesNoGridCanHold) {
  TextGrid grid;
  EXPECT_THROW(read_grid_text(grid, "2000000000\r\n2000000000\r\n"), GridFileError);
  EXPECT_EQ(grid.rowcount(), 1);
  EXPECT_LE(static_cast<std::size_t>(grid.colcount()) * grid.rowcount(), TextGrid::kMaxCells);
}

TEST_F(GridFile, SavedGridReadsBackWithItsBytes) {
  TextGrid grid(3, 4);
  grid.set_cell(0, 0, "caf\xE9");                // a single-byte text of the old program
  grid.set_cell(1, 2, "caf\xC3\xA9 \tspaced ");  // UTF-8, inner and outer blanks
  grid.set_cell(2, 3, "line\nfeed");             // a bare LF is text
  savegrid(grid, path("grid.txt"));
  EXPECT_EQ(read("grid.txt"), grid_text(grid));

  TextGrid back;
  loadgrid(back, path("grid.txt"));
  ASSERT_EQ(back.colcount(), 3);
  ASSERT_EQ(back.rowcount(), 4);
  for (int c = 0; c < 3; ++c)
    for (int r = 0; r < 4; ++r) EXPECT_EQ(back.cell(c, r), grid.cell(c, r)) << c << "," << r;

  write("other.txt", "1\r\n2\r\nx\r\n\x1A");
  loadgrid(back, path("other.txt"));
  EXPECT_EQ(back.colcount(), 1);
  EXPECT_EQ(back.cell(0, 0), "x");
  EXPECT_EQ(back.cell(0, 1), "");
}

TEST_F(GridFile, FileFailuresLeaveTheGridAsItWas) {
  TextGrid grid(2, 3);
  grid.set_cell(1, 2, "kept");
  try {
    loadgrid(grid, path("missing.txt"));
    FAIL() << "no failure";
  } catch (const GridFileError& e) {
    EXPECT_STREQ(e.what(), "File not found");
  }
  EXPECT_EQ(grid.colcount(), 2);
  EXPECT_EQ(grid.cell(1, 2), "kept");

  EXPECT_THROW(savegrid(grid, path("no/such/dir.txt")), GridFileError);
}

TEST(Decimal, AcceptsASignedWholeNumberWithinRangeOnly) {
  EXPECT_EQ(text::parse_int("120"), 120);
  EXPECT_EQ(text::parse_int("-1000"), -1000);
  EXPECT_EQ(text::parse_int("+7"), 7);
  EXPECT_EQ(text::parse_int("-2147483648"), INT_MIN);
  EXPECT_EQ(text::parse_int("2147483647"), INT_MAX);
  for (const char* bad : {"", "-", "2147483648", "-2147483649", " 5", "5 ", "1e3", "abc", "0x10"})
    EXPECT_EQ(text::parse_int(bad), std::nullopt) << bad;
}
