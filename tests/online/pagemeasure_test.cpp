// The measure a high-score page must pass before the HTML view is given it.
#include "online/pagemeasure.h"

#include <gtest/gtest.h>

#include <string>

#include "highscorepage.h"

using velnor::PageFault;

namespace {

// The high-score view's size.
constexpr velnor::ImageBox kView{479, 505};

PageFault measure_page(const std::string& page) { return velnor::measure_page(page, kView).fault; }

std::string repeated(const std::string& piece, std::size_t times) {
  std::string out;
  out.reserve(piece.size() * times);
  for (std::size_t i = 0; i < times; ++i) out += piece;
  return out;
}

// The server's own page with `rows` scores of each kind, names that need escaping among them.
std::string server_page(int rows, int unverified_rows = 0) {
  Standings standings;
  standings.games_posted = rows + unverified_rows;
  for (int i = 0; i < rows + unverified_rows; ++i)
    (i < rows ? standings.best : standings.unverified)
        .push_back({i % 3 == 0 ? "<b>&\"Zo\xC3\xAB'" : "Abcdefghij", "12/31/26", 650 - i % 650});
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
      // 125 KB: the window stayed black and CPU-bound for good.
      {"2,000 images stated 30000 wide and high", repeated("<img src=x width=30000 height=30000>", 2000),
       PageFault::too_costly},
      {"2,000 images in one paragraph, line breaks between", repeated("<img src=x width=8 height=8><br>", 2000),
       PageFault::too_costly},
      {"images of no stated size count as the view's", repeated("<p><img src=x>", 2100), PageFault::too_costly},
      {"a cell bomb of images", "<table>" + repeated("<tr><td><img src=x width=479 height=505></td></tr>", 2000),
       PageFault::too_costly},
      {"600 KB of plain words", repeated("word ", 120000), PageFault::too_costly},
      {"cells and images, each within its limit, together beyond",
       "<table>" + repeated("<tr><td>1</td><td>2</td><td>3</td><td><img src=x width=400 height=400></td></tr>", 1000),
       PageFault::too_costly},
  };
  for (const auto& c : cases) EXPECT_EQ(measure_page(c.page), c.fault) << c.what;
}

TEST(PageMeasure, ShowsRealPagesAndNestsAsTheViewDoes) {
  // The longest the server sends comes as it was sent, well within the cost of half a second.
  const std::string longest = server_page(kPageScoreCount, kPageScoreCount);
  const velnor::MeasuredPage measured = velnor::measure_page(longest, kView);
  EXPECT_EQ(measured.fault, PageFault::none);
  EXPECT_LT(measured.cost, velnor::kMaxPageCost / 4);
  EXPECT_EQ(measured.page, longest);
  // Five times as long still passes.
  EXPECT_EQ(measure_page(server_page(1000)), PageFault::none);

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
      {"images in paragraphs of their own", repeated("<p><img src=x width=20 height=20>", 3000)},
  };
  for (const auto& c : cases) EXPECT_EQ(measure_page(c.page), PageFault::none) << c.what;
}

// The view lays out any length it is given: the page it gets states no image size beyond the
// view, and no style.
TEST(PageMeasure, GivesTheViewImagesNoLargerThanItselfAndNoStyles) {
  const struct {
    const char* what;
    std::string page, shown;
  } cases[] = {
      {"too large, quoted or not", "<img src=x width=\"30000\" height=30000px>",
       "<img src=x width=\"479\" height=505>"},
      {"within the view, as stated", "<IMG Width=20 HEIGHT='30' alt=\"width=9\">",
       "<IMG Width=20 HEIGHT='30' alt=\"width=9\">"},
      {"sizes the page hides in references or words", "<img width=&#57;&#57;&#57;&#57; height=huge>",
       "<img width=479 height=505>"},
      {"one size alone would scale the other without bound", "<img src=x width=1 alt=y><img height=9>",
       "<img src=x x=1 alt=y><img x=9>"},
      {"a style may state either", "<img style=\"width:30000px\" width=4 height=4>",
       "<img x=\"width:30000px\" width=4 height=4>"},
      {"the last of twice-stated sizes counts as well", "<img width=1 width=99999 height=2>",
       "<img width=1 width=479 height=2>"},
      {"other elements keep their sizes", "<table width=30000><tr><td height=30000>a</td></tr></table>",
       "<table width=30000><tr><td height=30000>a</td></tr></table>"},
      // Three hundred paragraphs 30,000 pixels apart froze the window as the images did.
      {"styles of any element", "<p style='margin-top:30000px'>a<p STYLE=\"line-height:9999px\">b",
       "<p x='margin-top:30000px'>a<p x=\"line-height:9999px\">b"},
      {"style sheets, closed or not",
       "<style type=text/css>p {margin-top: 30000px}</style><p>a<STYLE><!-- img {width: 1px} --><img width=1",
       "<style type=text/css></style><p>a<STYLE>"},
  };
  for (const auto& c : cases) EXPECT_EQ(velnor::measure_page(c.page, kView).page, c.shown) << c.what;
}
