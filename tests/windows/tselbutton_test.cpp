#include "windows/tselbutton.h"

#include "screen_pixels.h"
#include "windows/tcolor.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velnor {
namespace {

using testing::bounds_of;
using testing::on_screen;
using testing::rgb;

constexpr std::uint32_t kOverFace = 0x00FFC0A0;     // light blue, unlike every other colour here
constexpr std::uint32_t kDownFace = 0x0080C0FF;     // orange
constexpr std::uint32_t kOverCaption = 0x000000C0;  // dark red
using Log = std::vector<std::string>;

class SelButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QCursor::setPos(0, 0);  // nowhere near the window
    host_.setGeometry(100, 100, 240, 120);
    QPalette palette = host_.palette();
    palette.setColor(QPalette::Window, tcolor(kWindowColor));
    host_.setPalette(palette);
    button_ = new TSelButton(&host_);
    button_->move(20, 30);
    apply_game_style(*button_, -16);
    button_->setColorOver(kOverFace);
    button_->setColorDown(kDownFace);
    button_->setColorOverCaption(kOverCaption);
    button_->setCaption("ROLL");
    QObject::connect(button_, &TSelButton::mouseDown,
                     [this](TSelButton*, Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
                       log_.push_back("down " + std::to_string(x) + "," + std::to_string(y));
                     });
    QObject::connect(button_, &TSelButton::mouseUp,
                     [this](TSelButton*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { log_.push_back("up"); });
    QObject::connect(button_, &TSelButton::click, [this](TSelButton* sender) {
      log_.push_back(sender == button_ ? "click" : "click from another");
      face_at_click_ = face();
    });
    host_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host_));
    QApplication::processEvents();
  }

  QRgb face() { return on_screen(*button_).pixel(2, 2); }
  QRect ink(std::uint32_t color) { return bounds_of(on_screen(*button_), rgb(color)); }
  void pointer_onto_button() { QTest::mouseMove(button_, QPoint(50, 10)); }
  void pointer_away() { QTest::mouseMove(&host_, QPoint(200, 100)); }
  void click_at(QPoint at) {
    QTest::mousePress(button_, Qt::LeftButton, {}, at);
    QTest::mouseRelease(button_, Qt::LeftButton, {}, at);
  }

  QWidget host_;
  TSelButton* button_ = nullptr;
  Log log_;
  QRgb face_at_click_ = 0;
};

TEST(SelButtonDefaults, SizeAndNameAsCaption) {
  QWidget host;
  TSelButton button;
  EXPECT_EQ(button.size(), QSize(105, 20));
  button.setObjectName("button_roll");
  button.setParent(&host);
  EXPECT_EQ(button.caption(), "button_roll");
}

TEST_F(SelButtonTest, RingsFollowBorderWidth) {
  button_->setBorderWidth(0);
  QImage image = on_screen(*button_);
  // No ring: the outermost pixels show the window beneath.
  EXPECT_EQ(image.pixel(0, 10), rgb(kWindowColor));
  EXPECT_EQ(image.pixel(104, 19), rgb(kWindowColor));
  EXPECT_EQ(image.pixel(1, 1), rgb(kPaleYellow));

  button_->setBorderWidth(1);
  image = on_screen(*button_);
  for (const QPoint p : {QPoint(0, 0), QPoint(104, 0), QPoint(0, 19), QPoint(104, 19), QPoint(52, 19)})
    EXPECT_EQ(image.pixel(p), rgb(kDarkGreen)) << p.x() << "," << p.y();
  EXPECT_EQ(image.pixel(1, 1), rgb(kPaleYellow));

  button_->setBorderWidth(2);
  image = on_screen(*button_);
  EXPECT_EQ(image.pixel(1, 1), rgb(kDarkGreen));
  EXPECT_EQ(image.pixel(103, 18), rgb(kDarkGreen));
  EXPECT_EQ(image.pixel(2, 2), rgb(kPaleYellow));

  // The rings come after the caption and cover it.
  button_->setBorderWidth(9);
  EXPECT_GE(ink(kCaptionGrey).top(), 9);
  EXPECT_LE(ink(kCaptionGrey).bottom(), 10);
}

TEST_F(SelButtonTest, CaptionPlacement) {
  const QRect centred = ink(kCaptionGrey);
  EXPECT_NEAR(centred.center().x(), 52, 2);
  EXPECT_NEAR(centred.center().y(), 10, 3);
  button_->setAlignment(TAlignment::taLeftJustify);
  EXPECT_NEAR(ink(kCaptionGrey).left(), 6, 1);
  button_->setAlignment(TAlignment::taRightJustify);
  EXPECT_NEAR(ink(kCaptionGrey).right(), 104 - 7, 2);
}

TEST_F(SelButtonTest, PointerOverAndPressLooks) {
  const QRect normal_ink = ink(kCaptionGrey);
  pointer_onto_button();
  EXPECT_EQ(face(), rgb(kOverFace));
  EXPECT_EQ(ink(kOverCaption), normal_ink);
  EXPECT_TRUE(ink(kCaptionGrey).isEmpty());

  // Pressed: its own face; the caption keeps the over colour, one pixel right and down.
  QTest::mousePress(button_, Qt::LeftButton, {}, QPoint(50, 10));
  EXPECT_EQ(face(), rgb(kDownFace));
  EXPECT_EQ(ink(kOverCaption), normal_ink.translated(1, 1));
  QTest::mouseRelease(button_, Qt::LeftButton, {}, QPoint(50, 10));
  EXPECT_EQ(face(), rgb(kOverFace));

  // A repaint the window asks for shows the normal look under the pointer.
  host_.repaint();
  EXPECT_EQ(face(), rgb(kPaleYellow));
  pointer_away();
  pointer_onto_button();
  EXPECT_EQ(face(), rgb(kOverFace));
  pointer_away();
  EXPECT_EQ(face(), rgb(kPaleYellow));
}

TEST_F(SelButtonTest, CompletedClickRunsInOrder) {
  pointer_onto_button();
  click_at(QPoint(50, 10));
  EXPECT_EQ(log_, (Log{"down 50,10", "click", "up"}));
  // The click handler sees the normal look; the over look comes after the release.
  EXPECT_EQ(face_at_click_, rgb(kPaleYellow));
  EXPECT_EQ(face(), rgb(kOverFace));
}

TEST_F(SelButtonTest, ReleaseOutsideGivesNoClick) {
  // Through the window, as the system delivers it: Qt holds the pointer's
  // leave back while the button is down.
  QWindow* window = host_.windowHandle();
  const QPoint on_button = button_->mapTo(&host_, QPoint(50, 10));
  const QPoint outside(200, 100);
  pointer_onto_button();
  QTest::mousePress(window, Qt::LeftButton, {}, on_button);
  QTest::mouseMove(window, outside);
  EXPECT_EQ(face(), rgb(kPaleYellow));
  QTest::mouseRelease(window, Qt::LeftButton, {}, outside);
  EXPECT_EQ(log_, (Log{"down 50,10", "up"}));
  EXPECT_EQ(face(), rgb(kPaleYellow));

  // Leaving and coming back before the release still clicks.
  log_.clear();
  pointer_onto_button();
  QTest::mousePress(window, Qt::LeftButton, {}, on_button);
  QTest::mouseMove(window, outside);
  QTest::mouseMove(window, on_button);
  EXPECT_EQ(face(), rgb(kOverFace));
  QTest::mouseRelease(window, Qt::LeftButton, {}, on_button);
  EXPECT_EQ(log_, (Log{"down 50,10", "click", "up"}));
}

TEST_F(SelButtonTest, OverLookOnlyWhereTheButtonIsOnTop) {
  auto* cover = new QWidget(&host_);
  cover->setGeometry(button_->x() + 60, button_->y(), 45, 20);
  cover->show();
  // Released within the button's area, so a click, but on the cover.
  click_at(QPoint(80, 10));
  EXPECT_EQ(log_, (Log{"down 80,10", "click", "up"}));
  EXPECT_EQ(face(), rgb(kPaleYellow));
  click_at(QPoint(20, 10));
  EXPECT_EQ(face(), rgb(kOverFace));
}

TEST_F(SelButtonTest, DoubleClickClicksOnce) {
  pointer_onto_button();
  const QPoint at(30, 5);
  click_at(at);
  QMouseEvent second(QEvent::MouseButtonDblClick, at, button_->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                     Qt::NoModifier);
  QApplication::sendEvent(button_, &second);
  EXPECT_EQ(face(), rgb(kDownFace));
  QTest::mouseRelease(button_, Qt::LeftButton, {}, at);
  EXPECT_EQ(log_, (Log{"down 30,5", "click", "up", "down 30,5", "up"}));
}

TEST_F(SelButtonTest, OnlyTheLeftButtonCounts) {
  pointer_onto_button();
  for (const Qt::MouseButton other : {Qt::RightButton, Qt::MiddleButton}) {
    QTest::mousePress(button_, other, {}, QPoint(50, 10));
    EXPECT_EQ(face(), rgb(kOverFace));
    QTest::mouseRelease(button_, other, {}, QPoint(50, 10));
  }
  EXPECT_TRUE(log_.empty());
}

TEST_F(SelButtonTest, SwitchedOffButtonIsSilentAndKeepsItsLook) {
  button_->setButtonEnabled(false);
  pointer_onto_button();
  EXPECT_EQ(face(), rgb(kPaleYellow));
  QTest::mousePress(button_, Qt::LeftButton, {}, QPoint(50, 10));
  EXPECT_EQ(face(), rgb(kPaleYellow));
  QTest::mouseRelease(button_, Qt::LeftButton, {}, QPoint(50, 10));
  EXPECT_EQ(face(), rgb(kPaleYellow));
  EXPECT_TRUE(log_.empty());
}

}  // namespace
}  // namespace velnor
