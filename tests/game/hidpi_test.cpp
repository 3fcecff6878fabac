// The pictures on a screen of twice the density. The whole program runs with
// QT_SCALE_FACTOR=2 (see main below), so every widget paints at a device pixel ratio of 2.
#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "board_fixture.h"
#include "windows/tfont.h"

namespace velnor::testing {
namespace {

struct DesignPicture {
  QString path;
  QSize size;
};

std::vector<DesignPicture> design_pictures() {
  std::vector<DesignPicture> all;
  for (int n = 1; n <= 9; ++n) all.push_back({QString(":/images/tiles/tile%1.png").arg(n), {240, 91}});
  all.push_back({":/images/dice.png", {224, 32}});
  all.push_back({":/images/backdrop_tiles.jpg", {503, 120}});
  all.push_back({":/images/backdrop_dice.jpg", {505, 121}});
  all.push_back({":/images/rounds.png", {123, 241}});
  all.push_back({":/images/roll.png", {102, 27}});
  all.push_back({":/images/logo.png", {185, 32}});
  all.push_back({":/images/gameover.png", {97, 104}});
  all.push_back({":/images/about.png", {97, 104}});
  all.push_back({":/images/multiplayer.png", {400, 300}});
  all.push_back({":/images/icon.png", {256, 256}});
  return all;
}

// Both in one format with the ratio set aside, so that only the pixels are compared.
QImage pixels_of(QImage image) {
  image.setDevicePixelRatio(1);
  return image.convertToFormat(QImage::Format_ARGB32);
}

// Where a widget's look first differs from a picture of its size, or "" when it does not.
// Only the picture's opaque pixels count: elsewhere the widget shows what lies behind it.
std::string first_difference(const QImage& shown, const QImage& expected) {
  if (shown.size() != expected.size()) return "sizes differ";
  const QImage a = pixels_of(shown);
  const QImage b = pixels_of(expected);
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (qAlpha(b.pixel(x, y)) == 255 && a.pixel(x, y) != b.pixel(x, y))
        return QString("pixel %1,%2: %3 instead of %4")
            .arg(x)
            .arg(y)
            .arg(a.pixel(x, y), 8, 16)
            .arg(b.pixel(x, y), 8, 16)
            .toStdString();
  return "";
}

TEST(SharpPictures, ComeAtTwiceTheSizeAndLayOutAtTheDesignSize) {
  ASSERT_EQ(qGuiApp->devicePixelRatio(), 2.0);
  for (const auto& [path, size] : design_pictures()) {
    SCOPED_TRACE(path.toStdString());
    const QPixmap sharp = resource_picture(path);
    EXPECT_EQ(sharp.devicePixelRatio(), 2.0);
    EXPECT_EQ(sharp.size(), size * 2);
    EXPECT_EQ(sharp.deviceIndependentSize(), QSizeF(size));
    // A screen of the design's own density still gets the design-size drawing.
    const QPixmap plain = resource_picture(path, 1);
    EXPECT_EQ(plain.devicePixelRatio(), 1.0);
    EXPECT_EQ(plain.size(), size);
  }
  // A fractional ratio is closer to twice the size than to the design size.
  EXPECT_EQ(resource_picture(":/images/roll.png", 1.25).size(), QSize(204, 54));
}

TEST(SharpPictures, WithoutATwiceSizeDrawingComeAtTheDesignSize) {
  QTemporaryDir folder;
  QImage alone(10, 6, QImage::Format_RGB32);
  alone.fill(Qt::red);
  ASSERT_TRUE(alone.save(folder.filePath("alone.png")));
  const QPixmap shown = resource_picture(folder.filePath("alone.png"));
  EXPECT_EQ(shown.devicePixelRatio(), 1.0);
  EXPECT_EQ(shown.size(), QSize(10, 6));
  EXPECT_TRUE(resource_picture(folder.filePath("missing.png")).isNull());
}

// The large drawing is decoded only where the screen can show it.
TEST(SharpPictures, IconHoldsTheSizesTheScreenNeeds) {
  const QList<QSize> sizes = resource_icon(":/images/icon.png", 2).availableSizes();
  EXPECT_TRUE(sizes.contains(QSize(32, 32)));
  EXPECT_TRUE(sizes.contains(QSize(256, 256)));
  EXPECT_TRUE(sizes.contains(QSize(512, 512)));
  EXPECT_FALSE(resource_icon(":/images/icon.png", 1).availableSizes().contains(QSize(512, 512)));
}

TEST(SharpPictures, DiceStripIsCutInDesignPixels) {
  const QPixmap strip = resource_picture(":/images/dice.png");
  const QImage file(":/images/dice@2x.png");
  for (int k = 0; k < 7; ++k) {
    SCOPED_TRACE(k);
    const QPixmap face = picture_part(strip, QRect(k * 32, 0, 32, 32));
    EXPECT_EQ(face.devicePixelRatio(), 2.0);
    EXPECT_EQ(face.deviceIndependentSize(), QSizeF(32, 32));
    EXPECT_EQ(first_difference(face.toImage(), file.copy(k * 64, 0, 64, 64)), "");
  }
}

// Frame k of a tile is columns 96k.. of the twice-size strip, shown one to one.
TEST(SharpPictures, TileShowsEachFrameFromTheSharpStrip) {
  const QImage file(":/images/tiles/tile7@2x.png");
  TAnimated tile;
  tile.setFrameCount(5);
  tile.setBitMap(resource_picture(":/images/tiles/tile7.png").toImage());
  tile.resize(48, tile.height());
  EXPECT_EQ(tile.size(), QSize(48, 91));
  for (int k = 0; k < 5; ++k) {
    SCOPED_TRACE(k);
    tile.setFrame(k);
    const QImage shown = tile.grab().toImage();
    EXPECT_EQ(shown.devicePixelRatio(), 2.0);
    EXPECT_EQ(first_difference(shown, file.copy(k * 96, 0, 96, 182)), "");
  }
}

TEST(SharpPictures, TileKeysItsColourAtTwiceTheDensity) {
  const QColor own(0x6F, 0x58, 0x40);
  const QColor key(0x11, 0x22, 0x33);
  // Three frames of 4 x 2 design pixels, drawn at twice that: the middle one is the key
  // but for its second design column, which is blue.
  QImage strip(24, 4, QImage::Format_RGB888);
  strip.fill(Qt::red);
  for (int y = 0; y < 4; ++y)
    for (int x = 8; x < 16; ++x) strip.setPixelColor(x, y, x == 10 || x == 11 ? QColor(Qt::blue) : key);
  strip.setDevicePixelRatio(2);

  TAnimated tile;
  QPalette palette = tile.palette();
  palette.setColor(QPalette::Window, own);
  tile.setPalette(palette);
  tile.setFrameCount(3);
  tile.setBitMap(strip);
  tile.resize(4, tile.height());
  EXPECT_EQ(tile.size(), QSize(4, 2));
  tile.setFrame(1);
  tile.setTransparentColor(0x00332211);
  const QImage shown = tile.grab().toImage();
  ASSERT_EQ(shown.size(), QSize(8, 4));
  for (int x = 0; x < 8; ++x) EXPECT_EQ(shown.pixelColor(x, 3), x == 2 || x == 3 ? QColor(Qt::blue) : own) << x;
  // The third frame lies half beyond a strip that is one design pixel short of it.
  QImage short_strip = strip.copy(0, 0, 22, 4);
  short_strip.setDevicePixelRatio(2);
  tile.setBitMap(short_strip);
  tile.setFrame(2);
  const QImage cut = tile.grab().toImage();
  EXPECT_EQ(cut.pixelColor(5, 0), QColor(Qt::red));
  EXPECT_EQ(cut.pixelColor(6, 0), own);
}

// The real board: sharp pictures in the places of the design.
TEST_F(Board, ShowsTheSharpPicturesInTheDesignsPlaces) {
  ASSERT_EQ(window->devicePixelRatioF(), 2.0);
  for (int n = 1; n <= 9; ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(tile(n)->bitMap().devicePixelRatio(), 2.0);
    EXPECT_EQ(tile(n)->size(), QSize(48, 91));
    EXPECT_EQ(tile(n)->y(), 128);
  }
  EXPECT_EQ(first_difference(tile(4)->grab().toImage(), QImage(":/images/tiles/tile4@2x.png").copy(0, 0, 96, 182)), "");

  auto* roll = window->findChild<TImage*>("button_roll");
  ASSERT_NE(roll, nullptr);
  EXPECT_EQ(roll->geometry(), QRect(376, 64, 102, 27));
  EXPECT_EQ(first_difference(roll->grab().toImage(), QImage(":/images/roll@2x.png")), "");
  auto* backdrop = window->findChild<TImage*>("Image4");
  ASSERT_NE(backdrop, nullptr);
  EXPECT_EQ(backdrop->geometry(), QRect(146, 128, 503, 120));
  EXPECT_EQ(backdrop->pixmap().devicePixelRatio(), 2.0);
  EXPECT_EQ(backdrop->pixmap().size(), QSize(1006, 240));

  click(window->button_start);
  click(window->button_roll);
  for (const char* name : {"dice1", "dice2"}) {
    SCOPED_TRACE(name);
    QLabel* die = label(name);
    EXPECT_EQ(die->size(), QSize(32, 32));
    const int face = die->property("tag").toInt();
    ASSERT_GE(face, 1);
    EXPECT_EQ(first_difference(die->grab().toImage(), QImage(":/images/dice@2x.png").copy(face * 64, 0, 64, 64)), "");
  }

  const QList<QSize> icon_sizes = window->windowIcon().availableSizes();
  EXPECT_TRUE(icon_sizes.contains(QSize(512, 512)));
}

}  // namespace
}  // namespace velnor::testing

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Test discovery runs the program without the tests' environment: never reach for a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Read when the application starts: every screen counts as one of twice the density.
  qputenv("QT_SCALE_FACTOR", "2");
  QApplication app(argc, argv);
  velnor::register_font_substitutions();
  return RUN_ALL_TESTS();
}
