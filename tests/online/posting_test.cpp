// Score posting and the high-score window through the real window objects,
// against a scripted server on port 80 of a private network.
#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>

#include "game/board_fixture.h"
#include "online/postingdate.h"
#include "online/qtpost.h"
#include "online/script_server.h"
#include "online/seedsupply.h"
#include "online/thighscore.h"
#include "rules/playedgame.h"
#include "support/tlstestserver.h"
#include "windows/htmlview.h"
#include "windows/tflatpanel.h"
#include "windows/tfont.h"
#include "windows/timage.h"
#include "windows/tselbutton.h"

using namespace velnor;
using velnor::testing::ScriptServer;

namespace {

const std::string kPage =
    "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n"
    "<html><body><table><tr><td>1</td><td>Ann</td><td>300</td></tr></table>"
    "<a href=\"http://localhost/multiplayer.html\">more</a> <a href=\"file:///etc/passwd\">x</a>"
    "</body></html>";

struct Posting : velnor::testing::Board {
  ScriptServer server{80};
  QStringList opened;
  std::optional<Thighscore> highscore;

  void SetUp() override {
    // These tests talk to the server about scores only.
    std::ofstream(settings(), std::ios::binary) << "[velnorsolo]\r\nUpdate=false\r\n";
    Board::SetUp();
    highscore.emplace(VELNOR_SERVER_BASE, qt_ui_poster(), [this](const QString& program, const QStringList& args) {
      opened << program + " " + args.join(' ');
      return true;
    });
    window->set_windows({.highscore = [this] { return &*highscore; }});
    click(window->button_namedone);
  }

  bool wait_for(const std::function<bool()>& done) { return QTest::qWaitFor(done, 10000); }

  // The window again, now with the server's seeds.
  void create_with_seeds() {
    window.reset();
    supply.emplace(VELNOR_SERVER_BASE, qt_ui_poster());
    seeds = &*supply;
    create();
    window->set_windows({.highscore = [this] { return &*highscore; }});
    click(window->button_namedone);
  }

  std::optional<SeedSupply> supply;
};

// The record that a posting's request line carries.
std::string posted_record(const std::string& request) {
  const size_t at = request.find("&game=");
  if (at == std::string::npos) return {};
  return request.substr(at + 6, request.find(' ', at) - at - 6);
}

}  // namespace

TEST_F(Posting, SendScorePostsTheEscapedNameThenShowsThePage) {
  play_game();
  ASSERT_TRUE(window->panel_cleared->isVisible());
  window->edit_name->setText("A&b =#c");
  server.script({"HTTP/1.0 200 OK\r\n\r\nthanks"});
  server.script({kPage});
  click(window->button_sendscore);
  EXPECT_TRUE(window->panel_wait->isVisible());
  EXPECT_TRUE(window->Timer1->isActive());
  ASSERT_TRUE(wait_for([&] { return highscore->isVisible(); }));
  EXPECT_FALSE(window->panel_cleared->isVisible());
  EXPECT_FALSE(window->Timer1->isActive());
  ASSERT_TRUE(server.wait_requests(2));
  const std::string post = server.requests()[0];
  const std::string score = std::to_string(window->game().score());
  const QString date = QString::fromStdString(post).section("&date=", 1).section("&score=", 0, 0);
  // The three fields as ever, then the game's record, from which the server plays it again.
  const std::string record = posted_record(post);
  EXPECT_EQ(post.substr(0, post.find("\r\n")),
            "GET /cgi-bin/velnorsolo.cgi?name=A%26b%20%3D%23c&date=" + date.toStdString() + "&score=" + score +
                "&game=" + record + " HTTP/1.0");
  const std::optional<PlayedGame> game = parse_played_game(record);
  ASSERT_TRUE(game);
  EXPECT_EQ(game->seed, velnor::testing::kSeed);
  EXPECT_TRUE(game->ticket.empty());
  EXPECT_EQ(replay_score(*game), window->game().score());
  // Today's date as the system writes it, its separators sent as they are.
  EXPECT_EQ(date, posting_date(QDate::currentDate(), QLocale::system()));
  EXPECT_EQ(server.requests()[1].rfind("GET /counter/velnorsolo.shtml HTTP/1.0\r\n", 0), 0u);
  ASSERT_TRUE(wait_for([&] { return highscore->displayhtml->toPlainText().contains("Ann"); }));

  // Web links go to the browser; anything else from the page is refused.
  bool handled = false;
  emit highscore->displayhtml->hotSpotClick(highscore->displayhtml, "file:///etc/passwd", handled);
  emit highscore->displayhtml->hotSpotClick(highscore->displayhtml, "http://localhost/multiplayer.html", handled);
  EXPECT_EQ(opened, QStringList{"xdg-open http://localhost/multiplayer.html"});
}

TEST_F(Posting, NoReplyCyclesTheDotsAndFailsOnceAfterFortyTicks) {
  play_game();
  window->edit_name->clear();
  server.script({"", true});  // the server takes the request and never answers
  click(window->button_sendscore);
  EXPECT_EQ(window->edit_name->text(), "Guest");
  QStringList captions;
  for (int tick = 1; tick <= 45 && window->Timer1->isActive(); ++tick) {
    window->Timer1Timer();
    captions << window->panel_wait->caption();
  }
  EXPECT_EQ(captions.mid(0, 6), (QStringList{"Posting Score, Please Wait.", "Posting Score, Please Wait..",
                                             "Posting Score, Please Wait...", "Posting Score, Please Wait....",
                                             "Posting Score, Please Wait.....", "Posting Score, Please Wait."}));
  EXPECT_EQ(captions.size(), 40);
  EXPECT_EQ(dialogs.messages, QStringList{"Posting Failed."});
  EXPECT_FALSE(window->Timer1->isActive());
  EXPECT_TRUE(window->panel_wait->isVisible());  // covers SEND SCORE until the next game
  ASSERT_TRUE(server.wait_requests(1));
  EXPECT_NE(server.requests()[0].find("name=Guest&"), std::string::npos);
}

// Only a stored score opens the list: any other answer, or none at all (the connection closed
// without a reply), is "Posting Failed." at once, not after forty ticks. The wait covers SEND SCORE,
// which goes from the screen and takes no second press until the next game.
TEST_F(Posting, ARefusedPostingFailsAtOnce) {
  for (const char* refusal : {"HTTP/1.0 503 Service Unavailable\r\nContent-Length: 8\r\n\r\nRefused.",
                              "HTTP/1.0 429 Too Many Requests\r\nContent-Length: 8\r\n\r\nRefused.",
                              "HTTP/1.0 502 Bad Gateway\r\nContent-Length: 0\r\n\r\n", ""}) {
    play_game();
    dialogs.messages.clear();
    server.script({refusal});
    click(window->button_sendscore);
    ASSERT_TRUE(wait_for([&] { return !dialogs.messages.isEmpty(); })) << refusal;
    EXPECT_EQ(dialogs.messages, QStringList{"Posting Failed."}) << refusal;
    EXPECT_FALSE(window->Timer1->isActive()) << refusal;
    EXPECT_TRUE(window->panel_cleared->isVisible()) << refusal;
    EXPECT_TRUE(window->panel_wait->isVisible()) << refusal;
    EXPECT_FALSE(window->button_sendscore->isVisible()) << refusal;
    EXPECT_FALSE(highscore->isVisible()) << refusal;
    window->button_sendscoreClick();
  }
  EXPECT_EQ(server.requests().size(), 4u);  // one posting a game, and no page fetched
}

// A server whose certificate does not hold is told like one that cannot be reached, and the
// player, or whoever helps them, finds why under Show Details; the score never left the game.
TEST_F(Posting, AnUntrustedHttpsServerIsAFailedPostingWithTheReasonInTheDetails) {
  const velnor::testing::TrustOnly trust;
  velnor::testing::TlsTestServer tls(velnor::testing::test_authority().issue("localhost", -7200, -3600));
  tls.script({"HTTP/1.0 200 OK\r\nContent-Length: 6\r\n\r\nstored"});
  highscore.emplace("https://localhost/", qt_ui_poster());
  play_game();
  click(window->button_sendscore);
  ASSERT_TRUE(wait_for([&] { return !dialogs.errors.isEmpty(); }));
  EXPECT_EQ(dialogs.errors, QStringList{"Posting Failed."});
  EXPECT_EQ(dialogs.error_details, QStringList{"The server's certificate does not hold: certificate expired"});
  EXPECT_TRUE(dialogs.messages.isEmpty());
  EXPECT_FALSE(highscore->isVisible());
  EXPECT_TRUE(tls.requests().empty());
}

// With the update mark off nothing goes out as the window shows or as a game ends. START GAME,
// with no ticket in hand, asks for one and starts at once; come before the first roll, the ticket
// deals that game, which posts it. A reply that is not a ticket, or not a 2xx, is not taken; with
// the mark on, a game's end fetches the next game's ticket ahead.
TEST_F(Posting, StartGameAsksForTheTicketThatDealsTheGame) {
  const SeedTicket ticket{0xC0FFEE, 1'800'000'000, std::string(SeedTicket::kSealCharacters, 'Q')};
  const std::string dealt = "HTTP/1.0 200 OK\r\n\r\n" + ticket.text() + "\n";
  create_with_seeds();
  EXPECT_FALSE(supply->fetching()) << "the first paint asked for a seed with the update mark off";
  server.script({dealt, false, "/velnorsolo/seed"});
  click(window->button_start);
  EXPECT_TRUE(window->game().gameon()) << "START GAME waited";
  ASSERT_TRUE(wait_for([&] { return !supply->fetching(); }));
  EXPECT_FALSE(supply->holds_ticket()) << "the ticket was not taken for the game under way";
  play_out();
  EXPECT_FALSE(supply->fetching()) << "the game's end asked for a seed with the update mark off";
  server.script({"HTTP/1.0 200 OK\r\n\r\nthanks"});
  server.script({kPage});
  click(window->button_sendscore);
  ASSERT_TRUE(wait_for([&] { return highscore->isVisible(); }));
  ASSERT_TRUE(server.wait_requests(3));
  EXPECT_EQ(server.requests()[0].rfind("GET /velnorsolo/seed HTTP/1.0\r\n", 0), 0u);
  const std::optional<PlayedGame> game = parse_played_game(posted_record(server.requests()[1]));
  ASSERT_TRUE(game);
  EXPECT_EQ(game->ticket, ticket.text());
  EXPECT_EQ(replay_score(*game), window->game().score()) << "the game was not played from the dealt seed";
  EXPECT_EQ(random.seed(), velnor::testing::kSeed) << "the ticket's game drew from the clock's sequence";

  server.script({"HTTP/1.0 503 Service Unavailable\r\n\r\n" + ticket.text() + "\n", false, "/velnorsolo/seed"});
  click(window->button_start);
  ASSERT_TRUE(wait_for([&] { return server.requests().size() == 4 && !supply->fetching(); }));
  EXPECT_FALSE(supply->holds_ticket()) << "a refusal's body was taken for a ticket";
  window->updatecheck->trigger();
  ASSERT_TRUE(window->updatecheck->isChecked());
  server.script({dealt, false, "/velnorsolo/seed"});
  play_out();
  EXPECT_NE(random.seed(), velnor::testing::kSeed) << "a game without a ticket did not go on from the clock";
  ASSERT_TRUE(wait_for([&] { return supply->holds_ticket(); })) << "the game's end did not fetch ahead";
  EXPECT_EQ(server.requests().size(), 5u);
}

// With "Verified Games (Online)" off no game asks anything, even with the update mark on: the
// game plays from the clock as an offline one and posts without a ticket.
TEST_F(Posting, VerifiedGamesOffAsksNothing) {
  create_with_seeds();
  window->Verified1->trigger();
  ASSERT_FALSE(window->Verified1->isChecked());
  window->updatecheck->trigger();
  play_game();
  EXPECT_FALSE(supply->fetching());
  server.script({"HTTP/1.0 200 OK\r\n\r\nthanks"});
  server.script({kPage});
  click(window->button_sendscore);
  ASSERT_TRUE(wait_for([&] { return highscore->isVisible(); }));
  ASSERT_TRUE(server.wait_requests(2));
  EXPECT_EQ(server.requests().size(), 2u);
  const std::optional<PlayedGame> game = parse_played_game(posted_record(server.requests()[0]));
  ASSERT_TRUE(game);
  EXPECT_TRUE(game->ticket.empty());
  EXPECT_EQ(game->seed, velnor::testing::kSeed);
}

TEST_F(Posting, ViewHighScoresTwiceFetchesOnce) {
  server.script({kPage});
  // The fetch stays busy until its result is handed over on this thread, so the
  // second press, made before any event is handled, meets a busy fetcher.
  window->ViewHighScoreList1->trigger();
  window->ViewHighScoreList1->trigger();
  EXPECT_TRUE(highscore->isVisible());
  ASSERT_TRUE(wait_for([&] { return highscore->displayhtml->toPlainText().contains("Ann"); }));
  EXPECT_FALSE(highscore->getit.busy());
  EXPECT_EQ(server.requests().size(), 1u);
  QTest::mouseClick(highscore->button_done, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_FALSE(highscore->isVisible());
}

// The posted date keeps its separators whatever the player's locale: Debian's default C.UTF-8
// names none in its short format, and the high-score page showed "12 7 26".
TEST(PostingDate, SeparatorComesFromTheLocaleOrIsASlash) {
  const struct {
    const char* locale;
    QDate date;
    const char* posted;
  } cases[] = {
      {"C", QDate(2026, 12, 7), "12/7/26"},       {"en_US", QDate(2026, 12, 7), "12/7/26"},
      {"de_DE", QDate(2026, 12, 7), "12.7.26"},   {"C", QDate(2000, 1, 5), "1/5/00"},
      {"de_DE", QDate(2009, 10, 31), "10.31.09"}, {"en_US", QDate(1999, 2, 28), "2/28/99"},
  };
  for (const auto& c : cases) EXPECT_EQ(posting_date(c.date, QLocale(c.locale)), c.posted) << c.locale;
}
