// The tally window: what the player sees of the records, and the file at start and exit.
#include "records/ttallylist.h"

#include <QDate>
#include <QLabel>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>
#include <optional>

#include "records/gridtext.h"
#include "records/savefailures.h"
#include "records/tlzrw1.h"
#include "support/fakes.h"
#include "windows/tcolor.h"
#include "windows/tselbutton.h"

using namespace velnor;
using velnor::testing::ScriptedDialogs;

namespace {

struct TallyWindow : ::testing::Test {
  ScriptedDialogs dialogs;
  SaveFailures failures{dialogs};
  QTemporaryDir folder;
  std::optional<Ttallylist> tally;

  std::filesystem::path file() const { return folder.path().toStdString() + "/velnorsolotally.tld"; }
  void open() { tally.emplace(dialogs, failures, folder.path().toStdString()); }
  void close() { tally.reset(); }
  QLabel* label(const QString& name) { return tally->findChild<QLabel*>(name); }
  QString row(int rank) {
    return label(QString("label_date%1").arg(rank))->text() + "|" + label(QString("label_name%1").arg(rank))->text() +
           "|" + label(QString("label_high%1").arg(rank))->text();
  }
  QColor color(int rank) { return label(QString("label_high%1").arg(rank))->palette().color(QPalette::WindowText); }
  bool bold(int rank) { return label(QString("label_name%1").arg(rank))->font().bold(); }
  // A tally file holding the given grid text cells (column, row, text).
  void write_tally(std::initializer_list<std::tuple<int, int, std::string>> cells) {
    TextGrid grid(9, 12);
    for (const auto& [col, row, text] : cells) grid.set_cell(col, row, text);
    Tlzrw1().compress_to_file(grid_text(grid), file().string());
  }
};

QString today() { return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat); }

}  // namespace

TEST_F(TallyWindow, FirstRunThenOneGameThenTheNextStart) {
  open();
  EXPECT_EQ(tally->windowTitle(), "Velnor Solo - Tally List");
  EXPECT_EQ(label("mylabel_1")->text(), "0");
  EXPECT_EQ(label("mylabel_2")->text(), "0");
  for (int rank = 1; rank <= 10; ++rank) EXPECT_EQ(row(rank), "||");
  EXPECT_EQ(color(1), tcolor(kPaleYellow));

  tally->addtomineincrease(1);
  tally->addtomineincrease(2);
  tally->checkscore(120, "Ann");
  EXPECT_EQ(label("mylabel_1")->text(), "1");
  EXPECT_EQ(label("mylabel_2")->text(), "1");
  EXPECT_EQ(row(1), today() + "|Ann|120");
  EXPECT_EQ(color(1), QColor(255, 0, 0));
  EXPECT_TRUE(bold(1));
  EXPECT_EQ(color(2), QColor(255, 255, 255));
  EXPECT_FALSE(bold(2));

  tally->show();
  QTest::keyClick(&*tally, Qt::Key_Escape);  // Escape closes it like DONE
  EXPECT_FALSE(tally->isVisible());

  tally->checkscore(80, "");
  EXPECT_EQ(row(2), today() + "||80");  // an empty name stays empty
  EXPECT_EQ(color(1), QColor(255, 255, 255));
  EXPECT_EQ(color(2), QColor(255, 0, 0));
  close();
  EXPECT_TRUE(std::filesystem::exists(file()));

  open();
  EXPECT_TRUE(dialogs.errors.isEmpty());
  EXPECT_EQ(label("mylabel_1")->text(), "1");
  EXPECT_EQ(row(1), today() + "|Ann|120");
  EXPECT_EQ(row(2), today() + "||80");
  EXPECT_EQ(color(1), tcolor(kPaleYellow));  // a new run starts in the starting look
  EXPECT_TRUE(bold(1));
}

// The cleared tally is on the disk at once, not only at exit: a crash later loses nothing.
TEST_F(TallyWindow, ResetAsksFirstAndReachesTheFileAtOnce) {
  open();
  tally->addtomineincrease(1);
  tally->checkscore(200, "Ann");
  dialogs.answers = {false, true};
  QTest::mouseClick(tally->button_reset, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(dialogs.questions, QStringList{"Are you sure you want to reset the Tally?"});
  EXPECT_EQ(row(1), today() + "|Ann|200");
  QTest::mouseClick(tally->button_reset, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(label("mylabel_1")->text(), "0");
  EXPECT_EQ(row(1), "||");
  EXPECT_EQ(color(1), QColor(255, 255, 255));
  TextGrid grid;
  read_grid_text(grid, Tlzrw1().expand_file(file().string()));
  EXPECT_EQ(grid.cell(1, 11), "-1000");
  EXPECT_EQ(grid.cell(1, 1), "-1000");
  EXPECT_EQ(grid.cell(1, 0), "0");
  close();
}

TEST_F(TallyWindow, DamagedFilesAreReportedAndTheGameGoesOn) {
  std::ofstream(file(), std::ios::binary) << "not a tally file";
  open();
  ASSERT_EQ(dialogs.errors.size(), 1);
  EXPECT_EQ(label("mylabel_1")->text(), "0");
  EXPECT_EQ(row(1), "||");
  close();

  // A word where a counter or a score belongs.
  write_tally({{1, 0, "many"}, {2, 0, "3"}, {0, 1, "1/2/27"}, {1, 1, "lots"}, {2, 1, "Bo"}});
  dialogs.errors.clear();
  open();
  EXPECT_TRUE(dialogs.errors.isEmpty());
  EXPECT_EQ(row(1), "1/2/27|Bo|");  // the word shows as an empty score
  tally->addtomineincrease(1);
  EXPECT_EQ(dialogs.errors, QStringList{"'many' is not a valid integer value."});
  tally->addtomineincrease(2);
  EXPECT_EQ(label("mylabel_2")->text(), "4");
  close();
  TextGrid grid;
  read_grid_text(grid, Tlzrw1().expand_file(file().string()));
  EXPECT_EQ(grid.cell(1, 1), "lots");  // the word is written back
  EXPECT_EQ(grid.cell(1, 0), "many");
}

TEST_F(TallyWindow, CellBytesAreShownAsTextAndWrittenBackUnchanged) {
  write_tally({{1, 0, "2"},
               {0, 1, "5/1/11"},
               {1, 1, "300"},
               {2, 1, "Jos\xE9"},
               {0, 2, "6/1/11"},
               {1, 2, "250"},
               {2, 2, "Zo\xC3\xAB"}});
  open();
  EXPECT_EQ(label("label_name1")->text(), QString::fromUtf8("Jos\xC3\xA9"));
  EXPECT_EQ(label("label_name2")->text(), QString::fromUtf8("Zo\xC3\xAB"));
  close();
  TextGrid grid;
  read_grid_text(grid, Tlzrw1().expand_file(file().string()));
  EXPECT_EQ(grid.cell(2, 1), "Jos\xE9");
  EXPECT_EQ(grid.cell(2, 2), "Zo\xC3\xAB");
}

TEST_F(TallyWindow, AFailedSaveKeepsThePreviousTally) {
  open();
  tally->checkscore(300, "Ann");
  close();
  const auto before = std::filesystem::file_size(file());
  open();
  // Something in the way of the new file: the saves at the game's end and at exit fail, and the
  // player hears of it once, with the folder to look in.
  std::filesystem::create_directory(file().string() + ".new");
  tally->checkscore(400, "Bob");
  close();
  EXPECT_EQ(std::filesystem::file_size(file()), before);
  ASSERT_EQ(dialogs.errors.size(), 1) << dialogs.errors.join("\n").toStdString();
  EXPECT_TRUE(dialogs.errors[0].startsWith("Your tally could not be saved in the folder " + folder.path()))
      << dialogs.errors[0].toStdString();
}
