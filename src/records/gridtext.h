#pragma once

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// The grid text file: a grid of text cells as plain CR LF lines, the column count, the row count,
// then every cell in column-major order. Cells are kept as bytes, never re-encoded.
namespace velnor {

// An input/output failure of the grid text file ("File not found", "Invalid numeric input", ...).
class GridFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A grid of text cells, at least 1 by 1, addressed as (column, row) from 0.
class TextGrid {
 public:
  // A file of a few bytes may ask for any size; no grid grows past this many cells.
  static constexpr std::size_t kMaxCells = std::size_t{1} << 20;

  TextGrid(int colcount = 1, int rowcount = 1);

  int colcount() const { return cols_; }
  int rowcount() const { return rows_; }
  // A count below 1 gives 1. Cells inside both the old and the new size keep their text; new ones
  // are empty. Throws std::length_error past kMaxCells.
  void set_colcount(int n);
  void set_rowcount(int n);
  void resize(int colcount, int rowcount);

  // Throw std::out_of_range outside the grid.
  const std::string& cell(int col, int row) const;
  void set_cell(int col, int row, std::string text);

 private:
  std::size_t index(int col, int row) const;

  int cols_;
  int rows_;
  std::vector<std::string> cells_;  // column-major, like the file
};

// The file's bytes for the grid.
std::string grid_text(const TextGrid& grid);
// Reads the file's bytes into the grid, sizing it from them. Throws GridFileError; cells and
// sizes stored before the failure stay.
void read_grid_text(TextGrid& grid, std::string_view text);

// savegrid / loadgrid: the same, to and from the named file.
void savegrid(const TextGrid& grid, const std::string& filename);
void loadgrid(TextGrid& grid, const std::string& filename);

}  // namespace velnor
