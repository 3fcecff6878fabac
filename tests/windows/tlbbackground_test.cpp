#include "windows/tlbbackground.h"

#include "screen_pixels.h"
#include "windows/tcolor.h"

#include <QApplication>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace velnor {
namespace {

using testing::on_screen;
using testing::rgb;

constexpr std::uint32_t kRed = 0x000000FF;
constexpr std::uint32_t kGreen = 0x0000FF00;

// A white window with a black square of its own painting, which must land over the tiles.
class PaintingWindow : public QWidget {
 public:
  PaintingWindow() {
    setGeometry(100, 100, 100, 80);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
  }

 protected:
  void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(50, 50, 4, 4, Qt::black); }
};

// Checks every pixel of the window outside its black square.
void expect_window(PaintingWindow& window, const std::function<QRgb(int, int)>& expected) {
  if (!window.isVisible()) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
  QApplication::processEvents();
  const QImage image = on_screen(window);
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 100; ++x) {
      const bool own = x >= 50 && x < 54 && y >= 50 && y < 54;
      ASSERT_EQ(image.pixel(x, y), own ? qRgb(0, 0, 0) : expected(x, y)) << x << "," << y;
    }
}

QRgb white(int, int) { return qRgb(255, 255, 255); }

TEST(LbBackgroundTest, TilesThePictureUnderTheWindowsOwnPainting) {
  PaintingWindow window;
  auto* background = new TLbBackground(&window);
  // 30 x 20, green with a red top-left pixel that marks where each tile starts.
  QImage tile(30, 20, QImage::Format_RGB32);
  tile.fill(tcolor(kGreen));
  tile.setPixel(0, 0, rgb(kRed));
  background->setImage(tile);
  expect_window(window, white);  // not yet enabled
  background->setEnabled(true);
  expect_window(window, [](int x, int y) { return x % 30 == 0 && y % 20 == 0 ? rgb(kRed) : rgb(kGreen); });
  background->setEnabled(false);
  expect_window(window, white);
}

TEST(LbBackgroundTest, EmptyPictureDrawsNothing) {
  PaintingWindow window;
  auto* background = new TLbBackground(&window);
  background->setEnabled(true);
  expect_window(window, white);
  background->setImage(QImage(0, 20, QImage::Format_RGB32));
  expect_window(window, white);
}

TEST(LbBackgroundTest, OnePixelPictureCoversTheWindow) {
  PaintingWindow window;
  auto* background = new TLbBackground(&window);
  QImage dot(1, 1, QImage::Format_RGB32);
  dot.fill(tcolor(kRed));
  background->setImage(dot);
  background->setEnabled(true);
  expect_window(window, [](int, int) { return rgb(kRed); });
}

}  // namespace
}  // namespace velnor
