// The measure a high-score page must pass before the HTML view is given it.
#include "online/pagemeasure.h"

#include <gtest/gtest.h>

#include <string>

#include "highscorepage.h"

using velnor::measure_page;
using velnor::PageFault;

namespace {

std::string repeated(const std::string& piece, std::size_t times) {
  std::string out;
  out.reserve(piece.size() * times);
  for (std::size_t i = 0; i < times; ++i) out += piece;
  return out;
}

// The server's own page with `rows` scores, names that need escaping among them.
std::string server_page(int rows) {
  Standings standings;
  standings.games_posted = rows;
  for (int i = 0; i < rows; ++i)
    standings.best.push_back({i % 3 == 0 ? "<b>&\"Zo\xC3\xAB'" : "Abcdefghij", "12/31/26", 650 - i % 650});
  return render_high_score_page(standings);
}

}  // namespace

// Pages that froze or crashed the game, and the smaller ones each limit stands for.
TEST(PageMeasure, RefusesPagesTheViewCannotShowInTime) {
  const struct {
    const char* what;
    std::string page;
    PageFault fault;
  } cases[] = {
      {"5,000 nested tables", repeated("<table><tr><td>", 5000), PageFault::tables_too_deep},
      {"1,000 nested tables", repeated("<table><tr><td>", 1000), PageFault::tables_too_deep},
      {"250,000 rows", "<table>" + repeated("<tr><td>1</td><td>Ann</td></tr>\n", 250000), PageFault::too_long},
      {"16 MB of text", repeated("word ", 16000000 / 5), PageFault::too_long},
      {"33 open inline elements", repeated("<b>", 33), PageFault::too_deep},
      {"unclosed cells deep inside", repeated("<div>", 30) + "<td><td>", PageFault::too_deep},
      {"20,001 line breaks", repeated("<br>", 20001), PageFault::too_many_elements},
      {"one wide row over many rows", "<table><tr><td colspan=10>x</td></tr>" + repeated("<tr><td>x</td></tr>", 1200),
       PageFault::too_many_cells},
      {"cells spanning rows widen the rows below", "<table>" + repeated("<tr><td rowspan=999>x</td></tr>", 200),
       PageFault::too_many_cells},
      {"a span in character references", "<table><tr><td colspan=\"&#49;&#48;&#48;&#48;&#48;\">",
       PageFault::too_many_cells},
      {"a span behind a quoted >", "<table><tr><td title=\">\" colspan=20000>", PageFault::too_many_cells},
      {"a span behind a no-break space",
       "<table><tr><td\xC2\xA0"
       "colspan=20000>",
       PageFault::too_many_cells},
      {"a span behind a Windows no-break space",
       "<table><tr><td\xA0"
       "colspan=20000>",
       PageFault::too_many_cells},
      {"a word without a break across inline tags", repeated("<b>x</b>", 300), PageFault::word_too_long},
      {"preformatted lines", "<pre>" + repeated("x\n", 20001) + "</pre>", PageFault::too_many_lines},
      {"a style sheet tried on every element",
       "<style>" + repeated("* {color:red}\n", 100) + "</style>" + repeated("<b>x</b> ", 5000),
       PageFault::style_too_heavy},
      {"style rules hidden in comment marks",
       "<style><!--" + repeated("* {color:red}\n", 100) + "--></style>" + repeated("<b>x</b> ", 5000),
       PageFault::style_too_heavy},
  };
  for (const auto& c : cases) EXPECT_EQ(measure_page(c.page), c.fault) << c.what;
}

TEST(PageMeasure, ShowsRealPagesAndNestsAsTheViewDoes) {
  EXPECT_EQ(measure_page(server_page(100)), PageFault::none);
  // Ten times what the server sends (100 verified scores and 100 unverified) still passes.
  EXPECT_EQ(measure_page(server_page(2000)), PageFault::none);

  const struct {
    const char* what;
    std::string page;
  } cases[] = {
      {"rows and cells never closed", "<table>" + repeated("<tr><td>1<td>Ann<th>300", 1000) + "</table>"},
      {"paragraphs and list items never closed", repeated("<p>para", 1000) + "<ul>" + repeated("<li>item", 1000)},
      {"stray end tags", repeated("</b></table></td>", 1000) + repeated("<b>x</b> ", 100)},
      {"markup in a comment", "<!--" + repeated("<table><tr><td>", 100) + "-->"},
      {"a > inside a quoted value", repeated("<a title=\"<b>\">x</a> ", 1000)},
      {"four tables deep", repeated("<table><tr><td>", 4) + "x"},
      {"a minified style sheet", "<style>" + repeated("a{color:#800000}", 100) + "</style><b>x</b>"},
      {"no bytes", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(measure_page(c.page), PageFault::none) << c.what;
}
