#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

#include "gridtext.h"

// The player's tally: games started, rounds with every tile shut, and the ten best totals with
// name and date. The records live in a 9 by 12 grid, which is also their form on disk:
//   row 0:       "0", games counter, all-shut counter (columns 1 and 2), more "0" or empty
//   rows 1..10:  date, score ("-1000" marks an empty rank), name of ranks 1 to 10
//   row 11:      "-1000" in column 1 after a reset
// The tally file is a compressed container whose content is the grid's text.
namespace velnor {

// A cell that should hold an integer does not.
class ConversionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// How a rank's row is drawn: the window's starting look until a game ends or the tally is reset,
// then plain, with the rank just entered marked.
enum class RowLook { starting, plain, entered };

class TallyRecords {
 public:
  static constexpr int kRanks = 10;
  static constexpr int kEmptyScore = -1000;
  static constexpr int kColumns = 9;
  static constexpr int kRows = 12;
  static constexpr int kGamesColumn = 1;
  static constexpr int kAllShutColumn = 2;
  // No tally grows anywhere near this; a file announcing more is refused before expanding it.
  static constexpr std::uint32_t kMaxFileContent = 64u << 20;

  // The empty tally: both counters "0", ten empty ranks.
  TallyRecords();

  // Reads the tally file. Returns false, changing nothing, when there is no such file. A file that
  // cannot be opened, or is no regular file, throws UnreadableFile without changing anything; one
  // whose content is damaged throws ELzrw1Exception or GridFileError, and the records then keep
  // what was stored before the failure (the cells read so far, or the empty tally).
  bool load(const std::string& path);
  // Writes the tally file: the new file is written beside the old one and takes its name only
  // when complete, so a failed save leaves the previous tally as it was. Throws ELzrw1Exception.
  void save(const std::string& path) const;

  // Enters a finished game above every stored score it equals or beats. Returns the rank it took,
  // or nothing when it ranks below all ten.
  std::optional<int> checkscore(int score, const std::string& name, const std::string& date);
  // Counts one more game (column 1) or all-shut round (column 2); returns the new count.
  int addtomineincrease(int column);
  // Adds one to the integer in a cell and returns it; throws ConversionError ("'x' is not a valid
  // integer value") when the cell holds no integer, leaving it unchanged.
  int addit(int column, int row);
  // Clears the counters and the ranks.
  void reset();

  const std::string& counter(int column) const { return grid_.cell(column, 0); }
  const std::string& date(int rank) const { return grid_.cell(0, rank); }
  const std::string& name(int rank) const { return grid_.cell(2, rank); }
  // The integer a rank is ranked by: its score, or kEmptyScore (or less) when it is empty. A score
  // cell that holds no integer counts as empty but keeps its text.
  int score_key(int rank) const;
  // The score as shown: the cell's text, or empty for an empty rank.
  std::string score_text(int rank) const;
  RowLook row_look(int rank) const;

  const TextGrid& grid() const { return grid_; }

 private:
  void settle_loaded_grid();

  TextGrid grid_;
  bool game_ended_ = false;  // false: the starting look
  int entered_rank_ = 0;     // the rank of the latest entry, 0 for none
};

}  // namespace velnor
