// Every window in every language the game ships: each caption and label fits the room its control
// has, in the control's own font, and a shipped translation loads and is used.
#include <QDir>
#include <QMenuBar>
#include <QTranslator>

#include "game/board_fixture.h"
#include "game/tcoach.h"
#include "online/thighscore.h"
#include "records/ttallylist.h"
#include "windows/tabout.h"
#include "windows/tflatpanel.h"
#include "windows/thelp.h"
#include "windows/tmultiplayer.h"

namespace velnor::testing {
namespace {

// "C" for the program's own texts, then each language whose translation the build made.
std::vector<std::string> languages() {
  std::vector<std::string> found = {"C"};
  const QDir folder(VELNOR_TRANSLATIONS_DIR);
  for (const QString& file : folder.entryList({"velnorsolo_*.qm"}, QDir::Files, QDir::Name))
    found.push_back(file.mid(11, file.size() - 14).toStdString());
  return found;
}

// Where a text does not fit, what and by how much, one line each; empty when all fit.
std::string cut_texts(const QWidget& window) {
  std::string cut;
  const auto check = [&](const QWidget& control, const QString& text, int needed, int room) {
    if (needed > room) {
      cut += window.objectName().toStdString() + "/" + control.objectName().toStdString() + " \"" + text.toStdString() +
             "\" needs " + std::to_string(needed) + " of " + std::to_string(room) + "\n";
    }
  };
  for (const QLabel* label : window.findChildren<QLabel*>()) {
    if (label->text().isEmpty() || !label->pixmap().isNull()) continue;
    const QFontMetrics metrics(label->font());
    const QRect room = label->contentsRect();
    if (label->wordWrap()) {
      // Wrapped, each line must show whole down to its baseline.
      const QRect wrapped = metrics.boundingRect(QRect(0, 0, room.width(), 100000),
                                                 int(label->alignment()) | Qt::TextWordWrap, label->text());
      const int lines = std::max(1, wrapped.height() / metrics.lineSpacing());
      check(*label, label->text(), (lines - 1) * metrics.lineSpacing() + metrics.ascent(), room.height());
    } else {
      for (const QString& line : label->text().split('\n'))
        check(*label, line, metrics.horizontalAdvance(line), room.width());
    }
  }
  for (const TSelButton* button : window.findChildren<TSelButton*>()) {
    // Inside the one-pixel rings; a left-justified caption starts five pixels in.
    const int room = button->contentsRect().width() - (button->alignment() == TAlignment::taLeftJustify ? 6 : 2);
    check(*button, button->caption(), QFontMetrics(button->font()).horizontalAdvance(button->caption()), room);
  }
  for (const TFlatPanel* panel : window.findChildren<TFlatPanel*>()) {
    if (panel->caption().isEmpty()) continue;
    check(*panel, panel->caption(), QFontMetrics(panel->font()).horizontalAdvance(panel->caption()),
          panel->contentsRect().width() - 2);
  }
  return cut;
}

struct EveryLanguage : Board, ::testing::WithParamInterface<std::string> {
  QTranslator translation;

  void SetUp() override {
    if (GetParam() != "C") {
      ASSERT_TRUE(translation.load("velnorsolo_" + QString::fromStdString(GetParam()), VELNOR_TRANSLATIONS_DIR));
      ASSERT_FALSE(translation.isEmpty());
      QCoreApplication::installTranslator(&translation);
    }
    Board::SetUp();
  }
  void TearDown() override { QCoreApplication::removeTranslator(&translation); }
};

TEST_P(EveryLanguage, EveryTextFitsItsControl) {
  // The menus stay on one line, with no overflow button hiding the last.
  QMenuBar* bar = window->menuBar();
  for (QAction* menu : bar->actions()) {
    const QRect place = bar->actionGeometry(menu);
    EXPECT_TRUE(place.isValid() && place.right() < bar->width()) << menu->text().toStdString();
  }

  for (QWidget* panel : {static_cast<QWidget*>(window->panel_name), static_cast<QWidget*>(window->panel_update)})
    panel->show();
  EXPECT_EQ(cut_texts(*window), "");
  click(window->button_namedone);
  click(window->button_start);
  click(window->button_roll);
  EXPECT_EQ(cut_texts(*window), "") << "after the first roll";
  window->Coach1->trigger();
  play_out();
  EXPECT_EQ(cut_texts(*window), "") << "at the game's end";
  const auto* coach = window->findChild<Tcoach*>("Tcoach");
  ASSERT_NE(coach, nullptr);
  EXPECT_EQ(cut_texts(*coach), "");

  Tabout about(&*window);
  Thelp help([&] { return &about; }, &*window);
  Tmultiplayer multiplayer(&*window);
  Ttallylist tallylist(dialogs, failures, folder.path().toStdString(), &*window);
  Thighscore highscore(VELNOR_SERVER_BASE, qt_ui_poster(), {}, &*window);
  for (QWidget* other : std::initializer_list<QWidget*>{&about, &help, &multiplayer, &tallylist, &highscore}) {
    other->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(other));
    EXPECT_EQ(cut_texts(*other), "");
  }
}

// A shipped translation that is not read, or that leaves the board in English, is caught here:
// the board's own captions change with the language.
TEST_P(EveryLanguage, TheBoardSpeaksTheLanguage) {
  if (GetParam() == "C") {
    EXPECT_EQ(window->button_start->caption(), "START GAME");
    EXPECT_EQ(window->menuBar()->actions().at(2)->text(), "&View");
    return;
  }
  EXPECT_NE(window->button_start->caption(), "START GAME");
  EXPECT_NE(window->menuBar()->actions().at(2)->text(), "&View");
  EXPECT_NE(window->label_status->text(), "Welcome to Velnor Solo");
}

INSTANTIATE_TEST_SUITE_P(Shipped, EveryLanguage, ::testing::ValuesIn(languages()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
}  // namespace velnor::testing
