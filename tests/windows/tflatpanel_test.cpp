#include "windows/tflatpanel.h"

#include "screen_pixels.h"
#include "windows/tcolor.h"
#include "windows/tfont.h"
#include "windows/tselbutton.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace velnor {
namespace {

using testing::bounds_of;
using testing::on_screen;
using testing::rgb;

constexpr std::uint32_t kRed = 0x000000FF;
constexpr std::uint32_t kBlue = 0x00FF0000;
constexpr std::uint32_t kOwnColor = 11412544;  // #4024AE

class FlatPanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host_.setGeometry(100, 100, 260, 160);
    QPalette palette = host_.palette();
    palette.setColor(QPalette::Window, tcolor(kWindowColor));
    host_.setPalette(palette);
  }

  void show() {
    host_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host_));
    QApplication::processEvents();
  }

  // Every pixel of the panel's frame: top and left in the first colour, bottom
  // and right in the second.
  static void expect_frame(const QImage& image, std::uint32_t high_light, std::uint32_t shadow) {
    const int w = image.width();
    const int h = image.height();
    for (int x = 0; x < w - 1; ++x) EXPECT_EQ(image.pixel(x, 0), rgb(high_light)) << "top " << x;
    for (int y = 0; y < h - 1; ++y) EXPECT_EQ(image.pixel(0, y), rgb(high_light)) << "left " << y;
    for (int x = 0; x < w; ++x) EXPECT_EQ(image.pixel(x, h - 1), rgb(shadow)) << "bottom " << x;
    for (int y = 0; y < h; ++y) EXPECT_EQ(image.pixel(w - 1, y), rgb(shadow)) << "right " << y;
  }

  QWidget host_;
};

TEST_F(FlatPanelTest, OpaquePanelFillsWithItsParentsColour) {
  auto* panel = new TFlatPanel(&host_);
  EXPECT_EQ(panel->geometry(), QRect(0, 0, 185, 41));
  panel->setGeometry(10, 10, 200, 120);
  panel->setColorHighLight(kRed);
  panel->setColorShadow(kBlue);
  // A nested panel with its own colour, and one inside it that takes that colour.
  auto* own = new TFlatPanel(panel);
  own->setGeometry(20, 20, 120, 80);
  own->setColor(kOwnColor);
  auto* inner = new TFlatPanel(own);
  inner->setGeometry(30, 30, 40, 30);
  show();

  const QImage image = on_screen(*panel);
  expect_frame(image, kRed, kBlue);
  for (int y = 1; y < 19; ++y)
    for (int x = 1; x < 199; ++x) ASSERT_EQ(image.pixel(x, y), rgb(kWindowColor)) << x << "," << y;
  expect_frame(on_screen(*own), 8623776, 8623776);
  EXPECT_EQ(on_screen(*own).pixel(5, 5), rgb(kOwnColor));
  EXPECT_EQ(on_screen(*inner).pixel(5, 5), rgb(kOwnColor));

  // Back to the parent's colour.
  own->setParentColor(true);
  QApplication::processEvents();
  EXPECT_EQ(on_screen(*inner).pixel(5, 5), rgb(kWindowColor));
}

TEST_F(FlatPanelTest, TransparentPanelShowsWhatLiesBeneath) {
  // A button of the window, lying under the panel.
  auto* button = new TSelButton(&host_);
  button->move(40, 40);
  apply_game_style(*button, -13);
  auto* panel = new TFlatPanel(&host_);
  panel->setGeometry(10, 10, 200, 120);
  panel->setTransparent(true);
  panel->setColorHighLight(clBlack);
  panel->setColorShadow(clBlack);
  show();

  QImage image = on_screen(*panel);
  expect_frame(image, clBlack, clBlack);
  EXPECT_EQ(image.pixel(5, 5), rgb(kWindowColor));
  EXPECT_EQ(image.pixel(30, 30), rgb(kDarkGreen));  // the button's frame
  EXPECT_EQ(image.pixel(32, 32), rgb(kPaleYellow));

  panel->setTransparent(false);
  QApplication::processEvents();
  image = on_screen(*panel);
  EXPECT_EQ(image.pixel(30, 30), rgb(kWindowColor));
  EXPECT_EQ(image.pixel(32, 32), rgb(kWindowColor));
}

TEST_F(FlatPanelTest, DisabledCaptionIsEngraved) {
  auto* panel = new TFlatPanel(&host_);
  panel->setGeometry(10, 10, 200, 60);
  panel->setCaption("Posting Score");
  panel->setFontColor(kPaleYellow);
  // Without smoothing every glyph pixel has exactly the pen's colour.
  QFont font = tfont("Arial", -19, FontStyle{.bold = true});
  font.setStyleStrategy(QFont::NoAntialias);
  panel->setFont(font);
  show();

  QImage image = on_screen(*panel);
  const QRect ink = bounds_of(image, rgb(kPaleYellow));
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_NEAR(ink.center().x(), 100, 2);
  EXPECT_NEAR(ink.center().y(), 30, 3);

  panel->setEnabled(false);
  QApplication::processEvents();
  image = on_screen(*panel);
  EXPECT_TRUE(bounds_of(image, rgb(kPaleYellow)).isEmpty());
  const QRgb shadow = rgb(clBtnShadow);
  const QRgb high_light = rgb(clBtnHighlight);
  EXPECT_EQ(bounds_of(image, shadow), ink);
  int shadow_pixels = 0;
  for (int y = 0; y < image.height() - 1; ++y)
    for (int x = 0; x < image.width() - 1; ++x) {
      if (image.pixel(x, y) != shadow) continue;
      ++shadow_pixels;
      // The highlight copy lies one pixel right and down, under the shadow copy.
      const QRgb below_right = image.pixel(x + 1, y + 1);
      EXPECT_TRUE(below_right == shadow || below_right == high_light) << x << "," << y;
    }
  EXPECT_GT(shadow_pixels, 50);
  EXPECT_EQ(bounds_of(image, high_light).bottomRight(), ink.bottomRight() + QPoint(1, 1));
}

}  // namespace
}  // namespace velnor
