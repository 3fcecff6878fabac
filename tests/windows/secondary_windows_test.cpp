// The help, about and multiplayer windows on the main window, with a recording
// link opener in place of the browser.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QUrl>

#include <gtest/gtest.h>

#include <optional>

#include "core/serveraddress.h"
#include "game/tmain.h"
#include "records/savefailures.h"
#include "rules/randomgen.h"
#include "support/fakes.h"
#include "windows/tabout.h"
#include "windows/tflatpanel.h"
#include "windows/thelp.h"
#include "windows/timage.h"
#include "windows/tmultiplayer.h"
#include "windows/tselbutton.h"

namespace velnor::testing {
namespace {

TEST(ServerAddress, HostAndMultiplayerPageGrowFromTheBase) {
  EXPECT_EQ(maker_host("http://localhost/"), "localhost");
  EXPECT_EQ(multiplayer_page("http://localhost/"), "localhost/multiplayer.html");
  EXPECT_EQ(maker_host("http://games.example:8080/velnor/"), "games.example:8080");
  EXPECT_EQ(multiplayer_page("http://games.example:8080/velnor/"), "games.example:8080/velnor/multiplayer.html");
  // A base written without its last "/" still gives a page under it.
  EXPECT_EQ(maker_host("http://example.org"), "example.org");
  EXPECT_EQ(multiplayer_page("http://example.org"), "example.org/multiplayer.html");
  // On https the links stay on https.
  EXPECT_EQ(maker_home("https://scores.example/velnor/"), "https://scores.example");
  EXPECT_EQ(multiplayer_page("HTTPS://scores.example/"), "scores.example/multiplayer.html");
  EXPECT_TRUE(is_secure_base("HTTPS://scores.example/"));
  EXPECT_EQ(maker_home("http://localhost/"), "http://localhost");

  const std::string base = server_base();
  EXPECT_TRUE(is_server_base(base)) << base;
}

// Every address handed to the desktop, in order.
struct RecordingOpener {
  QStringList opened;
  TURL::Launcher launcher() {
    return [this](const QString& program, const QStringList& args) {
      EXPECT_EQ(program, "xdg-open");
      opened << args.join(' ');
      return true;
    };
  }
};

// The built-in base read as a web address would be, independently of the
// windows' own derivation.
QString home_page() { return "http://" + QUrl(QString::fromStdString(server_base())).authority(); }
QString multiplayer_address() {
  return QUrl(QString::fromStdString(server_base())).resolved(QUrl("multiplayer.html")).toString();
}

struct SecondaryWindows : ::testing::Test {
  RecordingSounds sounds;
  ScriptedDialogs dialogs;
  SaveFailures failures{dialogs};
  RandomGen random;
  QTemporaryDir folder;
  RecordingOpener opener;
  std::optional<Tmain> main;
  std::optional<Tabout> about;
  std::optional<Thelp> help;
  std::optional<Tmultiplayer> multiplayer;

  void SetUp() override {
    MainServices services;
    services.sounds = &sounds;
    services.dialogs = &dialogs;
    services.random = &random;
    services.seed_source = [] { return 1u; };
    services.settings_dir = folder.path().toStdString();
    services.save_failures = &failures;
    main.emplace(std::move(services));
    // These tests stay off the network.
    main->updatecheck->setChecked(false);
    about.emplace(&*main, opener.launcher());
    help.emplace([this] { return &*about; }, &*main);
    multiplayer.emplace(&*main, opener.launcher());
    main->set_windows({.help = [this] { return &*help; },
                       .about = [this] { return &*about; },
                       .multiplayer = [this] { return &*multiplayer; },
                       .home_link = [this] { return &about->URL1; }});
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&*main));
  }

  static void click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(5, 5)); }

  // The page the player sees: the one on top in the middle of the page area.
  QTextEdit* shown_page() {
    QWidget* widget = help->panel_main->childAt(help->memo1->geometry().center());
    while (widget != nullptr && qobject_cast<QTextEdit*>(widget) == nullptr) widget = widget->parentWidget();
    return qobject_cast<QTextEdit*>(widget);
  }
  QString heading() { return help->label_caption->text(); }
  static QString first_line(QTextEdit* page) { return page->document()->firstBlock().text(); }
};

TEST_F(SecondaryWindows, HelpShowsOnePageAtATimeHeadedByItsButton) {
  main->Help2->trigger();
  ASSERT_TRUE(help->isVisible());
  EXPECT_FALSE(help->isModal());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(heading(), "Overview");
  EXPECT_EQ(shown_page(), help->memo1);

  click(help->SelButton5);
  EXPECT_EQ(heading(), "Documentation");
  EXPECT_EQ(first_line(shown_page()), "History");
  click(help->SelButton3);
  EXPECT_EQ(heading(), "Game Play");
  EXPECT_EQ(shown_page(), help->memo3);
  // Pages change places only; none is ever hidden.
  for (QTextEdit* page : {help->memo1, help->memo3, help->memo4, help->memo5})
    EXPECT_TRUE(page->isVisible()) << page->objectName().toStdString();

  // A button whose tag names no page changes nothing.
  TSelButton stray(help->panel_side);
  stray.setCaption("Nowhere");
  stray.setTag(7);
  help->SelButton1Click(&stray);
  EXPECT_EQ(heading(), "Game Play");
  EXPECT_EQ(shown_page(), help->memo3);
}

TEST_F(SecondaryWindows, HelpComesBackOnThePageItWasHiddenOn) {
  main->Help2->trigger();
  click(help->SelButton4);
  click(help->button_done);
  EXPECT_FALSE(help->isVisible());
  main->Help2->trigger();
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(heading(), "Scoring");
  EXPECT_EQ(shown_page(), help->memo4);
}

TEST_F(SecondaryWindows, PagesKeepEveryLineTheirBlanksIncluded) {
  const QStringList scoring = {"Scoring",
                               "",
                               "You receive points equal to the boxes that you shut.",
                               "",
                               "If you shut all the boxes, you receive a 20 point bonus.",
                               " "};
  const QStringList history = {
      "History", "", "July 13, 2013 - Version 1.0.0.2", "  -Fixed about form image", "Jan 10, 2012 - Version 1.0.0.1",
      "",        " "};
  EXPECT_EQ(help->memo4->toPlainText(), scoring.join('\n'));
  EXPECT_EQ(help->memo4->document()->blockCount(), scoring.size());
  EXPECT_EQ(help->memo5->toPlainText(), history.join('\n'));
  EXPECT_EQ(help->memo5->document()->blockCount(), history.size());

  const QStringList game_play = {"Game Play",
                                 "",
                                 "The game consists of 10 rounds.",
                                 "",
                                 "After rolling the dice, you select boxes to shut that equal the sum of the dice. ",
                                 "The boxes must be open in order to select them.  ",
                                 "",
                                 "For example, if you roll a 1 and a 5, you can choose to cover up one of the ",
                                 "sets of numbers below as long as the box is open.",
                                 "",
                                 "6",
                                 "1 and 5",
                                 "2 and 4",
                                 "1, 2, and 3",
                                 "",
                                 "If at any time during the round, you cannot close boxes that equal the sum of ",
                                 "the dice, then the round will end.",
                                 " "};
  EXPECT_EQ(help->memo3->toPlainText(), game_play.join('\n'));
  EXPECT_EQ(help->memo3->document()->blockCount(), game_play.size());
  EXPECT_TRUE(help->memo1->toPlainText().startsWith(
      "Overview\n\nWe play this game a lot while hanging out with my friends and family.\n\n"));
}

TEST_F(SecondaryWindows, AboutFromHelpBringsTheOneAboutWindowForward) {
  main->About1->trigger();
  main->Help2->trigger();
  EXPECT_TRUE(QTest::qWaitForWindowActive(&*help));
  click(help->button_about);
  EXPECT_TRUE(about->isVisible());
  EXPECT_TRUE(help->isVisible());
  EXPECT_TRUE(QTest::qWaitForWindowActive(&*about));
  EXPECT_EQ(main->findChildren<Tabout*>().size(), 1);
}

TEST_F(SecondaryWindows, YearLinesShowTheYearOfTheDay) {
  EXPECT_EQ(about->label_year->text(), QString::number(QDate::currentDate().year()));
  EXPECT_EQ(help->label_year->text(), QString::number(QDate::currentDate().year()));
  const Tabout later_about(nullptr, {}, QDate(2031, 2, 3));
  const Thelp later_help(nullptr, nullptr, QDate(2031, 2, 3));
  EXPECT_EQ(later_about.label_year->text(), "2031");
  EXPECT_EQ(later_help.label_year->text(), "2031");
  EXPECT_EQ(about->version->text(), "Version 1.0.0.2");
}

TEST_F(SecondaryWindows, EveryLinkOpensItsPageAndLeavesTheWindowInPlace) {
  main->About1->trigger();
  about->move(20, 30);
  const QPoint about_at = about->pos();
  EXPECT_EQ(about->Label7->text(), home_page());
  click(about->Label7);
  click(main->image_logo);
  EXPECT_EQ(opener.opened, QStringList({home_page(), home_page()}));
  EXPECT_TRUE(about->isVisible());
  EXPECT_EQ(about->pos(), about_at);

  opener.opened.clear();
  main->MultiplayerVersionofVelnor1->trigger();
  ASSERT_TRUE(multiplayer->isVisible());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  const QPoint multiplayer_at = multiplayer->pos();
  click(multiplayer->Label6);
  click(multiplayer->Label1);
  click(multiplayer->Image1);
  EXPECT_EQ(opener.opened, QStringList(3, multiplayer_address()));
  EXPECT_TRUE(multiplayer->isVisible());
  EXPECT_EQ(multiplayer->pos(), multiplayer_at);
  EXPECT_TRUE(multiplayer->Label6->text().endsWith(" at " + QUrl(home_page()).authority() + "!"));
}

TEST_F(SecondaryWindows, WindowsCentreOnTheMainWindowOnlyWhenFirstShown) {
  main->About1->trigger();
  const QPoint offset = about->frameGeometry().center() - main->frameGeometry().center();
  EXPECT_LE(offset.manhattanLength(), 1);

  about->move(15, 25);
  click(about->button_done);
  EXPECT_FALSE(about->isVisible());
  main->About1->trigger();
  EXPECT_TRUE(about->isVisible());
  EXPECT_EQ(about->pos(), QPoint(15, 25));

  main->MultiplayerVersionofVelnor1->trigger();
  click(multiplayer->button_done);
  EXPECT_FALSE(multiplayer->isVisible());
}

}  // namespace
}  // namespace velnor::testing
