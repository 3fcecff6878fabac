#include "gridtext.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <memory>
#include <utility>

#include "core/bytetext.h"

namespace velnor {

namespace {

constexpr int kEnd = -1;
constexpr int kCtrlZ = 0x1A;
constexpr int kCr = 0x0D;
constexpr int kLf = 0x0A;
// No count needs more characters; a longer token is refused without being kept.
constexpr std::size_t kMaxCountToken = 16;

std::string io_message(int err, bool writing) {
  switch (err) {
    case ENOENT:
    case ENOTDIR:
      return "File not found";
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return "Access denied";
    case ENOSPC:
    case EDQUOT:
      return "Disk full";
    default:
      return writing ? "Disk write error" : "Disk read error";
  }
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

class TextSource {
 public:
  explicit TextSource(std::string_view text) : text_(text) {}
  int peek() const { return pos_ < text_.size() ? static_cast<unsigned char>(text_[pos_]) : kEnd; }
  void skip() { ++pos_; }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

class FileSource {
 public:
  explicit FileSource(std::FILE* file) : file_(file) {}
  int peek() {
    if (!held_) {
      c_ = getc_unlocked(file_);
      if (c_ == EOF && std::ferror(file_)) throw GridFileError(io_message(errno, false));
      held_ = true;
    }
    return c_ == EOF ? kEnd : c_;
  }
  void skip() { held_ = false; }

 private:
  std::FILE* file_;
  int c_ = EOF;
  bool held_ = false;
};

template <class Source>
class GridReader {
 public:
  explicit GridReader(Source& source) : source_(source) {}

  void read(TextGrid& grid) {
    const int cols = std::max(read_count(), 1);
    if (static_cast<std::size_t>(cols) * static_cast<std::size_t>(grid.rowcount()) > TextGrid::kMaxCells)
      throw GridFileError("Grid too large");
    grid.set_colcount(cols);
    const int rows = std::max(read_count(), 1);
    if (static_cast<std::size_t>(cols) * static_cast<std::size_t>(rows) > TextGrid::kMaxCells)
      throw GridFileError("Grid too large");
    grid.set_rowcount(rows);
    for (int col = 0; col < cols; ++col)
      for (int row = 0; row < rows; ++row) grid.set_cell(col, row, read_line());
  }

 private:
  // Ctrl-Z ends the text for the reader, whatever follows it.
  int peek() {
    const int c = source_.peek();
    return c == kCtrlZ ? kEnd : c;
  }

  // A count: blanks and control bytes before it are skipped, the number runs to the next one, and
  // the rest of its line is discarded. Nothing left gives 0.
  int read_count() {
    int c;
    while ((c = peek()) != kEnd && c <= ' ') source_.skip();
    std::string token;
    while ((c = peek()) != kEnd && c > ' ') {
      if (token.size() == kMaxCountToken) throw GridFileError("Invalid numeric input");
      token += static_cast<char>(c);
      source_.skip();
    }
    if (token.empty()) return 0;
    const std::optional<int> value = text::parse_int(token);
    if (!value) throw GridFileError("Invalid numeric input");
    skip_line_end(true);
    return *value;
  }

  std::string read_line() {
    std::string line;
    int c;
    while ((c = peek()) != kEnd && c != kCr) {
      line += static_cast<char>(c);
      source_.skip();
    }
    skip_line_end(false);
    return line;
  }

  // Moves past the next CR and one LF directly after it; a bare LF is text, not a line end.
  void skip_line_end(bool discard_text) {
    int c;
    if (discard_text)
      while ((c = peek()) != kEnd && c != kCr) source_.skip();
    if (peek() != kCr) return;
    source_.skip();
    if (peek() == kLf) source_.skip();
  }

  Source& source_;
};

}  // namespace

TextGrid::TextGrid(int colcount, int rowcount) : cols_(std::max(colcount, 1)), rows_(std::max(rowcount, 1)) {
  if (static_cast<std::size_t>(cols_) * static_cast<std::size_t>(rows_) > kMaxCells)
    throw std::length_error("grid too large");
  cells_.resize(static_cast<std::size_t>(cols_) * static_cast<std::size_t>(rows_));
}

void TextGrid::set_colcount(int n) { resize(n, rows_); }

void TextGrid::set_rowcount(int n) { resize(cols_, n); }

void TextGrid::resize(int colcount, int rowcount) {
  const int cols = std::max(colcount, 1);
  const int rows = std::max(rowcount, 1);
  if (cols == cols_ && rows == rows_) return;
  if (static_cast<std::size_t>(cols) * static_cast<std::size_t>(rows) > kMaxCells)
    throw std::length_error("grid too large");
  std::vector<std::string> cells(static_cast<std::size_t>(cols) * static_cast<std::size_t>(rows));
  for (int col = 0; col < std::min(cols, cols_); ++col)
    for (int row = 0; row < std::min(rows, rows_); ++row)
      cells[static_cast<std::size_t>(col) * static_cast<std::size_t>(rows) + static_cast<std::size_t>(row)] =
          std::move(cells_[index(col, row)]);
  cells_ = std::move(cells);
  cols_ = cols;
  rows_ = rows;
}

std::size_t TextGrid::index(int col, int row) const {
  if (col < 0 || col >= cols_ || row < 0 || row >= rows_) throw std::out_of_range("grid cell out of range");
  return static_cast<std::size_t>(col) * static_cast<std::size_t>(rows_) + static_cast<std::size_t>(row);
}

const std::string& TextGrid::cell(int col, int row) const { return cells_[index(col, row)]; }

void TextGrid::set_cell(int col, int row, std::string text) { cells_[index(col, row)] = std::move(text); }

std::string grid_text(const TextGrid& grid) {
  std::string text = std::to_string(grid.colcount()) + "\r\n" + std::to_string(grid.rowcount()) + "\r\n";
  for (int col = 0; col < grid.colcount(); ++col)
    for (int row = 0; row < grid.rowcount(); ++row) {
      text += grid.cell(col, row);
      text += "\r\n";
    }
  return text;
}

void read_grid_text(TextGrid& grid, std::string_view text) {
  TextSource source(text);
  GridReader<TextSource>(source).read(grid);
}

void savegrid(const TextGrid& grid, const std::string& filename) {
  const std::string text = grid_text(grid);
  FilePtr file(std::fopen(filename.c_str(), "wb"));
  if (!file) throw GridFileError(io_message(errno, true));
  // A shortened file stays as written, but the caller learns that it is short.
  if (std::fwrite(text.data(), 1, text.size(), file.get()) != text.size()) {
    const int err = errno;
    throw GridFileError(io_message(err, true));
  }
  if (std::fclose(file.release()) != 0) throw GridFileError(io_message(errno, true));
}

void loadgrid(TextGrid& grid, const std::string& filename) {
  FilePtr file(std::fopen(filename.c_str(), "rb"));
  if (!file) throw GridFileError(io_message(errno, false));
  FileSource source(file.get());
  GridReader<FileSource>(source).read(grid);
}

}  // namespace velnor
