// The main window's settings: read at creation, written on a toggle and at close.
#include <QAction>
#include <QLineEdit>
#include <QScreen>

#include "game/board_fixture.h"
#include "support/temp_folder.h"

using namespace velnor;
using velnor::testing::Board;

namespace {

struct Settings : Board {
  void SetUp() override {}  // each test writes the file it needs first
  void write_file(const std::string& bytes) { velnor::testing::put_file(settings(), bytes); }
  std::string read_file() { return velnor::testing::file_bytes(settings()); }
};

}  // namespace

TEST_F(Settings, MissingFileGivesTheDefaults) {
  create();
  EXPECT_EQ(window->bounds().topLeft(), QPoint(3, 3));
  EXPECT_TRUE(window->PlaySounds1->isChecked());
  EXPECT_TRUE(window->updatecheck->isChecked());
  EXPECT_EQ(window->edit_name->text(), "Guest");
  EXPECT_EQ(window->edit_aname->text(), "Guest");
  EXPECT_FALSE(std::filesystem::exists(settings()));  // reading never writes
}

TEST_F(Settings, ValuesFollowTheirRules) {
  write_file(
      "[other]\r\nkeep=me\r\n[VelnorSolo]\r\nleft=0x20\r\nTOP=$10\r\nWidth=wide\r\n"
      "Height=400\r\nSounds=No\r\nUpdate=FALSE\r\nName=\r\n");
  create();
  EXPECT_EQ(window->bounds(), QRect(32, 16, window->bounds().width(), 400));
  EXPECT_GE(window->bounds().width(), 681);       // letters give the default width
  EXPECT_TRUE(window->PlaySounds1->isChecked());  // only exactly "no" is off
  EXPECT_TRUE(window->updatecheck->isChecked());  // only exactly "false" is off
  EXPECT_EQ(window->edit_name->text(), "");       // present but empty is empty
  EXPECT_EQ(sounds.played, QStringList{"entered"});
}

TEST_F(Settings, SoundsOffSilencesEvenTheWelcome) {
  write_file("[velnorsolo]\r\nSounds=no\r\nUpdate=false\r\n");
  create();
  EXPECT_FALSE(window->PlaySounds1->isChecked());
  EXPECT_FALSE(window->updatecheck->isChecked());
  EXPECT_TRUE(sounds.played.isEmpty());
}

// The seven keys keep the order older copies wrote them in; Verified follows them.
TEST_F(Settings, TogglesRewriteAllKeysAtOnce) {
  create();
  EXPECT_TRUE(window->Verified1->isChecked());
  window->PlaySounds1->trigger();
  const QRect at = window->bounds();
  EXPECT_EQ(read_file(), "[velnorsolo]\r\nTop=" + std::to_string(at.top()) + "\r\nLeft=" + std::to_string(at.left()) +
                             "\r\nWidth=" + std::to_string(at.width()) + "\r\nHeight=" + std::to_string(at.height()) +
                             "\r\nName=Guest\r\nSounds=no\r\nUpdate=true\r\nVerified=true\r\n");
  window->updatecheck->trigger();
  EXPECT_NE(read_file().find("Update=false\r\nVerified=true\r\n"), std::string::npos);
  EXPECT_FALSE(window->updatecheck->isChecked());
  window->Verified1->trigger();
  EXPECT_NE(read_file().find("Update=false\r\nVerified=false\r\n"), std::string::npos);
  create();
  EXPECT_FALSE(window->Verified1->isChecked()) << "Verified=false did not hold";
}

TEST_F(Settings, NameBytesSurviveAndTypedNamesAreUtf8) {
  // A name written by the first edition in Windows-1252.
  write_file("[velnorsolo]\r\nName=Jos\xE9\r\n[x]\r\ny=1\r\n");
  create();
  EXPECT_EQ(window->edit_name->text(), QString::fromUtf8("Jos\xC3\xA9"));
  window->PlaySounds1->trigger();
  EXPECT_NE(read_file().find("Name=Jos\xE9\r\n"), std::string::npos);
  EXPECT_NE(read_file().find("[x]\r\ny=1\r\n"), std::string::npos);
  window->edit_name->setText(QString::fromUtf8("Zo\xC3\xAB"));
  window->PlaySounds1->trigger();
  EXPECT_NE(read_file().find("Name=Zo\xC3\xAB\r\n"), std::string::npos);

  // A name longer than the box holds, written by another program, is not cut by a save.
  write_file("[velnorsolo]\r\nName=Maximilianus\r\n");
  create();
  EXPECT_EQ(window->edit_name->text(), "Maximilian");
  window->PlaySounds1->trigger();
  EXPECT_NE(read_file().find("Name=Maximilianus\r\n"), std::string::npos);
}

// Bounds from a bigger screen or typed by hand still leave the whole window on the screen, its
// title bar in reach (a width of 100000 once gave a 32767-pixel window).
TEST_F(Settings, LoadedBoundsFitTheWorkArea) {
  // The extremes overflowed a sum once and put the window past the screen's right edge.
  for (const char* bounds : {"Top=-500\r\nLeft=90000\r\nWidth=100000\r\nHeight=100000",
                             "Top=-99999999999\r\nLeft=2147483647\r\nWidth=-5\r\nHeight=999999999",
                             "Top=-2147483648\r\nLeft=-2147483648\r\nWidth=2147483647\r\nHeight=0"}) {
    write_file("[velnorsolo]\r\n" + std::string(bounds) + "\r\n");
    create();
    const QRect work = window->screen()->availableGeometry();
    EXPECT_TRUE(work.contains(window->bounds()))
        << bounds << ": " << window->bounds().x() << "," << window->bounds().y() << " " << window->bounds().width()
        << "x" << window->bounds().height();
  }
}

TEST_F(Settings, CloseKeepsUnmovedBoundsAndTrimsOversizedOnes) {
  write_file("[velnorsolo]\r\nTop=10\r\nLeft=20\r\nWidth=700\r\nHeight=400\r\n");
  create();
  window->close();
  EXPECT_NE(read_file().find("Top=10\r\nLeft=20\r\nWidth=700\r\nHeight=400\r\n"), std::string::npos);

  // Moved and wider than the work area: stored 3 pixels narrower, once.
  const QRect work = window->screen()->availableGeometry();
  create();
  window->set_bounds(QRect(40, 50, work.width() + 100, 400));
  const int width = window->bounds().width();
  ASSERT_GT(width, work.width());
  window->close();
  EXPECT_NE(read_file().find("Width=" + std::to_string(width - 3) + "\r\n"), std::string::npos);
}

TEST_F(Settings, AFailedSaveIsToldOnceWithItsFolderAndTheWindowStillCloses) {
  std::filesystem::create_directory(settings());  // a folder where the file should be
  create();
  window->PlaySounds1->trigger();
  window->PlaySounds1->trigger();
  window->close();
  EXPECT_FALSE(window->isVisible());
  ASSERT_EQ(dialogs.errors.size(), 1) << dialogs.errors.join("\n").toStdString();
  EXPECT_TRUE(dialogs.errors[0].startsWith("Your settings could not be saved in the folder " + folder.path()))
      << dialogs.errors[0].toStdString();
  EXPECT_TRUE(dialogs.errors[0].contains("Unable to write to " + QString::fromStdString(settings())));
}

// At a logout nobody can close a box: the failure goes to standard error and the window closes.
TEST_F(Settings, AFailedSaveAtTheSessionsEndAsksNobody) {
  std::filesystem::create_directory(settings());
  create();
  failures.session_ending();
  ::testing::internal::CaptureStderr();
  window->close();
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join("\n").toStdString();
  EXPECT_NE(said.find("velnorsolo: Your settings could not be saved in the folder"), std::string::npos) << said;
}
