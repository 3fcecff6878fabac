#include "pagemeasure.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "core/bytetext.h"

namespace velnor {

namespace {

// The tags whose place the view decides by rule, and those that end a line.
enum class Tag { other, table, tr, td, th, thead, tbody, tfoot, caption, p, li, dt, dd, dl, body, style, leaf };

struct Known {
  std::string_view name;
  Tag tag;
  bool breaks_line;
};

constexpr std::array kKnown = {
    Known{"table", Tag::table, true},
    Known{"tr", Tag::tr, true},
    Known{"td", Tag::td, true},
    Known{"th", Tag::th, true},
    Known{"thead", Tag::thead, true},
    Known{"tbody", Tag::tbody, true},
    Known{"tfoot", Tag::tfoot, true},
    Known{"caption", Tag::caption, true},
    Known{"p", Tag::p, true},
    Known{"li", Tag::li, true},
    Known{"dt", Tag::dt, true},
    Known{"dd", Tag::dd, true},
    Known{"dl", Tag::dl, true},
    Known{"body", Tag::body, true},
    Known{"style", Tag::style, false},
    // Elements that never hold others.
    Known{"br", Tag::leaf, true},
    Known{"hr", Tag::leaf, true},
    Known{"img", Tag::leaf, false},
    Known{"meta", Tag::leaf, false},
    // Blocks of no other rule.
    Known{"html", Tag::other, true},
    Known{"div", Tag::other, true},
    Known{"ul", Tag::other, true},
    Known{"ol", Tag::other, true},
    Known{"pre", Tag::other, true},
    Known{"blockquote", Tag::other, true},
    Known{"center", Tag::other, true},
    Known{"h1", Tag::other, true},
    Known{"h2", Tag::other, true},
    Known{"h3", Tag::other, true},
    Known{"h4", Tag::other, true},
    Known{"h5", Tag::other, true},
    Known{"h6", Tag::other, true},
};

constexpr Known kUnknown{"", Tag::other, false};

const Known& known(std::string_view name) {
  for (const Known& k : kKnown)
    if (text::equal_nocase(name, k.name)) return k;
  return kUnknown;
}

// Where the view allows an element directly inside another; elsewhere it
// closes open elements until one allows it.
bool allowed_in(Tag tag, Tag parent) {
  switch (tag) {
    case Tag::tr:
      return parent == Tag::table || parent == Tag::thead || parent == Tag::tbody || parent == Tag::tfoot;
    case Tag::td:
    case Tag::th:
      return parent == Tag::tr;
    case Tag::thead:
    case Tag::tbody:
    case Tag::tfoot:
    case Tag::caption:
      return parent == Tag::table;
    case Tag::dd:
      return parent == Tag::dt || parent == Tag::dl;
    case Tag::dt:
      return parent == Tag::dl;
    case Tag::body:
      return false;
    default:
      return true;
  }
}

// A span of a table cell; one that is no plain number may hide any value in
// character references, so it counts as the widest.
constexpr std::uint64_t kWidestSpan = 1u << 20;

std::uint64_t span(std::string_view value) {
  if (value.find('&') != std::string_view::npos) return kWidestSpan;
  std::size_t at = 0;
  while (at < value.size() && (value[at] == ' ' || value[at] == '+')) ++at;
  std::uint64_t n = 0;
  for (; at < value.size() && value[at] >= '0' && value[at] <= '9'; ++at)
    n = std::min<std::uint64_t>(n * 10 + static_cast<std::uint64_t>(value[at] - '0'), kWidestSpan);
  return std::max<std::uint64_t>(n, 1);
}

// A stated image size; one that is no plain number, or more than `largest`, counts as `largest`.
std::uint32_t image_length(std::string_view value, std::uint32_t largest) {
  if (value.find('&') != std::string_view::npos) return largest;
  std::size_t at = 0;
  while (at < value.size() && value[at] == ' ') ++at;
  if (at == value.size() || value[at] < '0' || value[at] > '9') return largest;
  std::uint32_t n = 0;
  for (; at < value.size() && value[at] >= '0' && value[at] <= '9'; ++at)
    n = std::min<std::uint32_t>(n * 10 + static_cast<std::uint32_t>(value[at] - '0'), largest);
  return n;
}

struct Fault {
  PageFault what;
};

[[noreturn]] void fail(PageFault what) { throw Fault{what}; }

class Scanner {
 public:
  Scanner(std::string_view html, ImageBox box) : s_(html), box_(box) {}

  void run() {
    while (at_ < s_.size()) {
      const char c = s_[at_++];
      if (c == '<')
        tag();
      else
        text(c);
    }
    if (styles_ > 0) edits_.push_back({style_start_, s_.size(), {}});
    check_cost();
  }

  std::uint64_t cost() const {
    return cells_ * kCellCost + elements_ * kElementCost + text_bytes_ * kTextByteCost + other_cost_;
  }

  // The page with the changes made to its images and styles.
  std::string cleaned() {
    // An image's attributes are changed once its tag is read, in no order.
    std::sort(edits_.begin(), edits_.end(), [](const Edit& a, const Edit& b) { return a.begin < b.begin; });
    std::string page;
    page.reserve(s_.size());
    std::size_t from = 0;
    for (const Edit& edit : edits_) {
      page.append(s_.substr(from, edit.begin - from));
      page += edit.text;
      from = edit.end;
    }
    page.append(s_.substr(from));
    return page;
  }

 private:
  struct Attribute {
    std::string_view key, value;
  };

  // Bytes begin to end of the page replaced by text.
  struct Edit {
    std::size_t begin, end;
    std::string text;
  };

  struct Open {
    std::string_view name;
    Tag tag;
    // For a table: its rows, the width of its current row, the widest row,
    // and the width that cells spanning rows may add to later rows.
    std::uint64_t rows = 0, row_width = 0, widest = 0, spanning = 0;
  };

  void text(char c) {
    // A style sheet is read, never laid out.
    if (styles_ > 0) {
      if (c == '{' || c == ',') add_selector();
      return;
    }
    ++text_bytes_;
    if (c == '\n' || c == '\v' || c == '\f' || (c == '\r' && (at_ == s_.size() || s_[at_] != '\n'))) add_line();
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f') {
      word_ = 0;
      return;
    }
    if (c == '\xE2' && at_ + 1 < s_.size() && s_[at_] == '\x80' && (s_[at_ + 1] == '\xA8' || s_[at_ + 1] == '\xA9'))
      add_line();                                                         // a line or paragraph separator
    if (c == '\xC2' && at_ < s_.size() && s_[at_] == '\x85') add_line();  // next line
    if (++word_ > kMaxWordBytes) fail(PageFault::word_too_long);
  }

  void add_line() {
    if (++lines_ > kMaxPageLines) fail(PageFault::too_many_lines);
  }

  void add_selector() {
    ++selectors_;
    check_style();
  }

  void add_element() {
    if (++elements_ > kMaxPageElements) fail(PageFault::too_many_elements);
    check_style();
    check_cost();
  }

  // Every rule of a style sheet is tried on every element.
  void check_style() const {
    if (selectors_ * elements_ > kMaxStyleWork) fail(PageFault::style_too_heavy);
  }

  // The length of the white space at `at` as the view reads it: bytes that form
  // UTF-8 as that character, any other byte as Windows-1252 (0xA0 a no-break space).
  std::size_t space_at(std::size_t at) const {
    const auto b = static_cast<unsigned char>(s_[at]);
    if (b < 0x80) return b == ' ' || (b >= '\t' && b <= '\r') ? 1 : 0;
    char32_t code = 0;
    const std::size_t length = text::utf8_sequence(s_, at, code);
    if (length == 0) return b == 0xA0 ? 1 : 0;
    const bool space = code == 0x85 || code == 0xA0 || code == 0x1680 || (code >= 0x2000 && code <= 0x200A) ||
                       code == 0x2028 || code == 0x2029 || code == 0x202F || code == 0x205F || code == 0x3000;
    return space ? length : 0;
  }

  void skip_space() {
    while (at_ < s_.size())
      if (const std::size_t length = space_at(at_); length > 0)
        at_ += length;
      else
        return;
  }

  bool next_is(char c) const { return at_ < s_.size() && s_[at_] == c; }

  void skip_past(char c) {
    const std::size_t end = s_.find(c, at_);
    at_ = end == std::string_view::npos ? s_.size() : end + 1;
  }

  // A tag name, attribute name or value: quoted, or up to white space or one of
  // the characters that end it.
  std::string_view word() {
    const std::size_t start = at_;
    if (next_is('"')) {
      const std::size_t end = s_.find('"', ++at_);
      at_ = end == std::string_view::npos ? s_.size() : end + 1;
      return s_.substr(start + 1, (end == std::string_view::npos ? s_.size() : end) - start - 1);
    }
    if (next_is('\'')) {
      // A quote after a backslash does not end it.
      for (++at_; at_ < s_.size(); ++at_)
        if (s_[at_] == '\'' && (at_ == start + 1 || s_[at_ - 1] != '\\'))
          return s_.substr(start + 1, at_++ - start - 1);
      return s_.substr(start + 1);
    }
    while (at_ < s_.size()) {
      const char c = s_[at_];
      if (c == '>' || c == '<' || c == '=' || (c == '/' && at_ + 1 < s_.size() && s_[at_ + 1] == '>') ||
          space_at(at_) > 0)
        break;
      ++at_;
    }
    return s_.substr(start, at_ - start);
  }

  void tag() {
    tag_start_ = at_ - 1;
    skip_space();
    if (next_is('!')) {
      ++at_;
      if (s_.substr(at_, 2) != "--") return skip_past('>');
      const std::size_t end = s_.find("-->", at_ + 2);
      const std::size_t stop = end == std::string_view::npos ? s_.size() : end + 3;
      // A style sheet reads the rules inside comment marks too.
      if (styles_ > 0)
        for (; at_ < stop; ++at_)
          if (s_[at_] == '{' || s_[at_] == ',') add_selector();
      at_ = stop;
      return;
    }
    if (next_is('/')) {
      ++at_;
      const std::string_view name = word();
      skip_past('>');
      return close(name);
    }
    const std::string_view name = word();
    const bool image = text::equal_nocase(name, "img");
    attributes_.clear();
    std::uint64_t colspan = 1, rowspan = 1;
    for (;;) {
      skip_space();
      if (at_ == s_.size() || next_is('>') || next_is('/')) break;
      const std::string_view key = word();
      if (key.empty()) break;
      skip_space();
      if (!next_is('=')) continue;
      ++at_;
      skip_space();
      const std::string_view value = word();
      if (text::equal_nocase(key, "colspan")) colspan = span(value);
      if (text::equal_nocase(key, "rowspan")) rowspan = span(value);
      if (image) attributes_.push_back({key, value});
      if (text::equal_nocase(key, "style") && styles_ == 0) drop(key);
    }
    skip_past('>');
    open(name, colspan, rowspan);
    if (image) add_image();
  }

  std::size_t offset(std::string_view part) const { return static_cast<std::size_t>(part.data() - s_.data()); }

  // Renamed rather than cut out, so that the tag reads the same to its end.
  void drop(std::string_view key) { edits_.push_back({offset(key), offset(key) + key.size(), "x"}); }

  // The view lays an image out at its stated size, however large, and puts
  // every image of a paragraph in place again for each one after it.
  void add_image() {
    // Not an image: text of a style sheet, which the view is not given.
    if (styles_ > 0) return;
    const auto named = [](const Attribute& a, const char* key) { return text::equal_nocase(a.key, key); };
    const bool both = std::any_of(attributes_.begin(), attributes_.end(), [&](auto& a) { return named(a, "width"); }) &&
                      std::any_of(attributes_.begin(), attributes_.end(), [&](auto& a) { return named(a, "height"); });
    // Unstated, a size is the image's own, which the view keeps within the box.
    std::uint64_t width = box_.width, height = box_.height;
    for (const Attribute& a : attributes_) {
      const bool is_width = named(a, "width");
      if ((is_width || named(a, "height")) && !both) {
        // One stated size would scale the other without bound.
        drop(a.key);
      } else if (is_width || named(a, "height")) {
        const std::uint32_t length = image_length(a.value, is_width ? box_.width : box_.height);
        edits_.push_back({offset(a.value), offset(a.value) + a.value.size(), std::to_string(length)});
        (is_width ? width : height) = length;
      }
    }
    other_cost_ += kImageCost + images_in_paragraph_++ * kImagePairCost +
                   std::max<std::uint64_t>(width, 1) * std::max<std::uint64_t>(height, 1) / kImagePixelsPerCost;
    check_cost();
  }

  void check_cost() const {
    if (cost() > kMaxPageCost) fail(PageFault::too_costly);
  }

  // A line break stays in its paragraph; every other tag that breaks the line ends it.
  void break_line(std::string_view name) {
    word_ = 0;
    if (!text::equal_nocase(name, "br")) images_in_paragraph_ = 0;
  }

  void open(std::string_view name, std::uint64_t colspan, std::uint64_t rowspan) {
    add_element();
    // An element without a name holds nothing.
    if (name.empty()) return;
    const Known& k = known(name);
    if (k.breaks_line) break_line(name);
    // A cell outside a row, or a row outside a table, is given the table it lacks.
    if ((k.tag == Tag::td || k.tag == Tag::th) && !inside(Tag::tr)) {
      add_element();
      push("table", Tag::table);
      add_element();
      push("tr", Tag::tr);
    } else if (k.tag == Tag::tr && !inside(Tag::table)) {
      add_element();
      push("table", Tag::table);
    }
    // A paragraph or list item ends one just before it.
    if ((k.tag == Tag::p || k.tag == Tag::li) && depth_ > 0 && open_[depth_ - 1].tag == k.tag) pop();
    while (depth_ > 0 && !allowed_in(k.tag, open_[depth_ - 1].tag)) pop();
    if (k.tag == Tag::leaf) return;
    push(name, k.tag);
    if (k.tag == Tag::td || k.tag == Tag::th) add_cell(colspan, rowspan);
  }

  void close(std::string_view name) {
    if (known(name).breaks_line) break_line(name);
    if (name.empty()) return;
    for (std::size_t level = depth_; level > 0; --level) {
      if (!text::equal_nocase(open_[level - 1].name, name)) continue;
      while (depth_ >= level) pop();
      return;
    }
  }

  bool inside(Tag tag) const {
    return std::any_of(open_.begin(), open_.begin() + static_cast<std::ptrdiff_t>(depth_),
                       [tag](const Open& o) { return o.tag == tag; });
  }

  Open* innermost_table() {
    for (std::size_t level = depth_; level > 0; --level)
      if (open_[level - 1].tag == Tag::table) return &open_[level - 1];
    return nullptr;
  }

  void push(std::string_view name, Tag tag) {
    if (depth_ == kMaxPageDepth) fail(PageFault::too_deep);
    open_[depth_++] = Open{name, tag};
    if (tag == Tag::style && styles_++ == 0) style_start_ = at_;
    if (tag == Tag::table && ++tables_ > kMaxTableDepth) fail(PageFault::tables_too_deep);
    if (tag != Tag::tr) return;
    if (Open* table = innermost_table()) {
      ++table->rows;
      table->row_width = 0;
      check_cells();
    }
  }

  void pop() {
    const Open& o = open_[--depth_];
    // The view is given the style sheet empty: a margin or a line height of some
    // thousands of pixels, on many elements, makes a document that never finishes
    // its layout.
    if (o.tag == Tag::style && --styles_ == 0) edits_.push_back({style_start_, tag_start_, {}});
    if (o.tag != Tag::table) return;
    --tables_;
    closed_cells_ += o.rows * o.widest;
  }

  // The view makes a grid of every row times the widest row, and a cell that
  // spans rows widens the rows below it.
  void add_cell(std::uint64_t colspan, std::uint64_t rowspan) {
    Open* table = innermost_table();
    if (table == nullptr) return;
    table->row_width += colspan;
    if (rowspan > 1) table->spanning += colspan;
    table->widest = std::max(table->widest, table->row_width + table->spanning);
    check_cells();
  }

  void check_cells() {
    std::uint64_t cells = closed_cells_;
    for (std::size_t level = 0; level < depth_; ++level)
      if (open_[level].tag == Tag::table) cells += open_[level].rows * open_[level].widest;
    if (cells > kMaxTableCells) fail(PageFault::too_many_cells);
    cells_ = cells;
    check_cost();
  }

  std::string_view s_;
  ImageBox box_;
  std::size_t at_ = 0;
  std::array<Open, kMaxPageDepth> open_{};
  std::size_t depth_ = 0;
  std::size_t tables_ = 0;
  std::size_t styles_ = 0;
  // Where the outermost open style sheet starts, and where the tag being read does.
  std::size_t style_start_ = 0;
  std::size_t tag_start_ = 0;
  std::uint64_t closed_cells_ = 0;
  std::uint64_t elements_ = 0;
  std::uint64_t selectors_ = 0;
  std::size_t lines_ = 0;
  std::size_t word_ = 0;
  std::uint64_t cells_ = 0;
  std::uint64_t text_bytes_ = 0;
  std::uint64_t other_cost_ = 0;
  std::uint64_t images_in_paragraph_ = 0;
  std::vector<Attribute> attributes_;
  std::vector<Edit> edits_;
};

}  // namespace

MeasuredPage measure_page(std::string_view html, ImageBox box) {
  if (html.size() > kMaxPageBytes) return {PageFault::too_long, 0, {}};
  Scanner scanner(html, box);
  try {
    scanner.run();
  } catch (const Fault& fault) {
    return {fault.what, scanner.cost(), {}};
  }
  return {PageFault::none, scanner.cost(), scanner.cleaned()};
}

}  // namespace velnor
