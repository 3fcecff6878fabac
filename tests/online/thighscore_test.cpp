// The high-score window's page, from a scripted server on port 80 of a private network.
#include "online/thighscore.h"

#include <QTest>

#include <gtest/gtest.h>

#include "highscorepage.h"
#include "online/qtpost.h"
#include "online/script_server.h"
#include "windows/htmlview.h"

using namespace velnor;
using velnor::testing::ScriptServer;

namespace {

std::string repeated(const char* piece, int times) { return QByteArray(piece).repeated(times).toStdString(); }

}  // namespace

// Pages that crashed or froze the game never reach the view; the window says so, and the
// server's own page, even five times as long as the longest it sends, is shown after them.
TEST(Thighscore, APageTooLargeOrTooDeepIsNotShown) {
  ScriptServer server(80);
  Thighscore highscore(VELNOR_SERVER_BASE, qt_ui_poster());
  const QString refused = "The high-score page is too large or too deeply nested to show.";
  const std::string ok = "HTTP/1.0 200 OK\r\n";
  const std::string words = repeated("word ", 16000000 / 5);
  const struct {
    const char* what;
    std::string reply;
  } pages[] = {
      {"5,000 nested tables", ok + "\r\n" + repeated("<table><tr><td>", 5000)},
      {"1,000 nested tables", ok + "\r\n" + repeated("<table><tr><td>", 1000)},
      {"250,000 rows, no length",
       ok + "\r\n<table>" + repeated("<tr><td>1</td><td>Ann</td><td>300</td></tr>\n", 250000)},
      {"16 MB of text, announced", ok + "Content-Length: " + std::to_string(words.size()) + "\r\n\r\n" + words},
      {"2,000 images stated 30000 wide and high", ok + "\r\n" + repeated("<img src=x width=30000 height=30000>", 2000)},
  };
  for (const auto& page : pages) {
    highscore.displayhtml->load_html("Ann");
    server.script({page.reply});
    highscore.loadit();
    ASSERT_TRUE(QTest::qWaitFor([&] { return highscore.displayhtml->toPlainText() != "Ann"; }, 10000)) << page.what;
    EXPECT_EQ(highscore.displayhtml->toPlainText(), refused) << page.what;
  }

  Standings standings;
  for (int i = 0; i < 1000; ++i) standings.best.push_back({i == 999 ? "Last" : "Abcdefghij", "12/31/26", 650 - i / 4});
  server.script({ok + "\r\n" + render_high_score_page(standings)});
  highscore.loadit();
  ASSERT_TRUE(QTest::qWaitFor([&] { return highscore.displayhtml->toPlainText().contains("Last"); }, 10000));
  EXPECT_FALSE(highscore.displayhtml->toPlainText().contains(refused));
}
