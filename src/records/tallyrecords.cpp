#include "tallyrecords.h"

#include <algorithm>
#include <climits>

#include "core/bytetext.h"
#include "core/safefile.h"
#include "tlzrw1.h"

namespace velnor {

namespace {

const std::string kEmptyScoreText = std::to_string(TallyRecords::kEmptyScore);

}  // namespace

TallyRecords::TallyRecords() : grid_(kColumns, kRows) {
  for (int col = 0; col <= 4; ++col) grid_.set_cell(col, 0, "0");
  for (int rank = 1; rank <= kRanks; ++rank) grid_.set_cell(1, rank, kEmptyScoreText);
}

bool TallyRecords::load(const std::string& path) {
  if (!file_present(path)) return false;
  // No container of an acceptable content is much larger than the content.
  const std::string container = read_regular_file(path, kMaxFileContent + kMaxFileContent / 4 + 4096);
  try {
    read_grid_text(grid_, Tlzrw1().expand_memory(container, path, kMaxFileContent));
  } catch (...) {
    settle_loaded_grid();
    throw;
  }
  settle_loaded_grid();
  return true;
}

// The grid takes the sizes in the file, but the records need at least the tally's 9 by 12 cells:
// a smaller grid grows (a larger one keeps its extra cells, within what any grid may hold), and an
// empty score cell marks an empty rank.
void TallyRecords::settle_loaded_grid() {
  int cols = std::max(grid_.colcount(), kColumns);
  int rows = std::max(grid_.rowcount(), kRows);
  if (static_cast<std::size_t>(cols) * static_cast<std::size_t>(rows) > TextGrid::kMaxCells)
    rows = std::max(kRows, static_cast<int>(TextGrid::kMaxCells / static_cast<std::size_t>(cols)));
  if (static_cast<std::size_t>(cols) * static_cast<std::size_t>(rows) > TextGrid::kMaxCells)
    cols = static_cast<int>(TextGrid::kMaxCells / static_cast<std::size_t>(rows));
  grid_.resize(cols, rows);
  for (int rank = 1; rank <= kRanks; ++rank)
    if (grid_.cell(1, rank).empty()) grid_.set_cell(1, rank, kEmptyScoreText);
}

void TallyRecords::save(const std::string& path) const { Tlzrw1().compress_to_file(grid_text(grid_), path); }

std::optional<int> TallyRecords::checkscore(int score, const std::string& name, const std::string& date) {
  game_ended_ = true;
  entered_rank_ = 0;
  int place = 0;
  for (int rank = 1; rank <= kRanks && place == 0; ++rank)
    if (score_key(rank) <= score) place = rank;
  if (place == 0) return std::nullopt;
  for (int rank = kRanks; rank > place; --rank)
    for (int col = 0; col <= 2; ++col) grid_.set_cell(col, rank, grid_.cell(col, rank - 1));
  grid_.set_cell(0, place, date);
  grid_.set_cell(1, place, std::to_string(score));
  grid_.set_cell(2, place, name);
  entered_rank_ = place;
  return place;
}

int TallyRecords::addtomineincrease(int column) { return addit(column, 0); }

int TallyRecords::addit(int column, int row) {
  const std::string& text = grid_.cell(column, row);
  const std::optional<int> value = text::parse_int(text);
  if (!value) throw ConversionError("'" + text + "' is not a valid integer value");
  // A counter stops at the largest integer rather than turning negative.
  const int next = *value == INT_MAX ? *value : *value + 1;
  grid_.set_cell(column, row, std::to_string(next));
  return next;
}

void TallyRecords::reset() {
  grid_.set_rowcount(kRows);
  for (int col = 1; col < kColumns; ++col) grid_.set_cell(col, 0, "0");
  for (int row = 1; row < kRows; ++row) {
    grid_.set_cell(0, row, "");
    grid_.set_cell(1, row, kEmptyScoreText);
    grid_.set_cell(2, row, "");
  }
  game_ended_ = true;
  entered_rank_ = 0;
}

int TallyRecords::score_key(int rank) const { return text::parse_int(grid_.cell(1, rank)).value_or(kEmptyScore); }

std::string TallyRecords::score_text(int rank) const {
  return score_key(rank) > kEmptyScore ? grid_.cell(1, rank) : std::string();
}

RowLook TallyRecords::row_look(int rank) const {
  if (!game_ended_) return RowLook::starting;
  return rank == entered_rank_ ? RowLook::entered : RowLook::plain;
}

}  // namespace velnor
