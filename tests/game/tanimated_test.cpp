#include "game/tanimated.h"
#include "windows/tcolor.h"

#include <QMouseEvent>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <vector>

using velnor::TAnimated;

namespace {

// A tile as the board sets it up, with a short interval to keep the tests quick.
void make_tile(TAnimated& a, int interval = 5) {
  a.setInterval(interval);
  a.setFrameCount(5);
  a.setLoop(false);
}

qsizetype timers(const TAnimated& a) { return a.findChildren<QTimer*>().size(); }

// Starts a run from `from` in the given direction and returns the frames it showed.
std::vector<int> run(TAnimated& a, int from, bool reverse) {
  a.setFrame(from);
  std::vector<int> shown;
  const auto c =
      QObject::connect(&a, &TAnimated::changeFrame, [&](TAnimated* sender) { shown.push_back(sender->frame()); });
  a.setReverse(reverse);
  a.setPlay(true);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !a.play(); }, 5000));
  QObject::disconnect(c);
  return shown;
}

}  // namespace

TEST(TAnimatedRun, RunsStopOnTheirLastFrameAndWrapWhenStartedThere) {
  TAnimated a;
  make_tile(a);
  EXPECT_EQ(run(a, 0, false), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(a.frame(), 4);
  EXPECT_EQ(timers(a), 0);
  EXPECT_EQ(run(a, 4, true), (std::vector<int>{3, 2, 1, 0}));
  EXPECT_EQ(timers(a), 0);
  EXPECT_EQ(run(a, 4, false), (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(run(a, 0, true), (std::vector<int>{4, 3, 2, 1, 0}));
}

TEST(TAnimatedRun, LoopingKeepsCyclingUntilPlayIsCleared) {
  TAnimated a;
  make_tile(a, 2);
  a.setLoop(true);
  std::vector<int> shown;
  QObject::connect(&a, &TAnimated::changeFrame, [&](TAnimated*) {
    shown.push_back(a.frame());
    if (shown.size() == 12) a.setPlay(false);
  });
  a.setPlay(true);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !a.play(); }, 5000));
  EXPECT_EQ(shown, (std::vector<int>{1, 2, 3, 4, 0, 1, 2, 3, 4, 0, 1, 2}));
  EXPECT_EQ(timers(a), 0);
}

TEST(TAnimatedRun, TurningARunAroundKeepsItsOneTimer) {
  TAnimated a;
  make_tile(a, 60000);  // ticked by hand, so the click lands between two ticks
  std::vector<int> shown;
  QObject::connect(&a, &TAnimated::changeFrame, [&](TAnimated*) { shown.push_back(a.frame()); });
  a.setPlay(true);
  QTimer* timer = a.findChild<QTimer*>();
  ASSERT_NE(timer, nullptr);
  auto tick = [&] {
    QTimerEvent event(timer->timerId());
    QCoreApplication::sendEvent(timer, &event);
  };
  tick();
  tick();
  // What the board does when a sliding tile is clicked again.
  a.setReverse(true);
  a.setFrame(4);
  a.setPlay(true);
  EXPECT_EQ(a.findChildren<QTimer*>(), QList<QTimer*>{timer});
  for (int i = 0; i < 3; ++i) tick();
  EXPECT_TRUE(a.play());
  tick();
  EXPECT_FALSE(a.play());
  EXPECT_EQ(shown, (std::vector<int>{1, 2, 4, 3, 2, 1, 0}));
  EXPECT_EQ(timers(a), 0);
}

TEST(TAnimatedRun, IntervalStartsOrRestartsOnlyARunsTimer) {
  TAnimated a;
  make_tile(a, 0);
  a.setPlay(true);  // no interval: nothing moves
  QCoreApplication::processEvents();
  EXPECT_EQ(a.frame(), 0);
  EXPECT_EQ(timers(a), 0);
  a.setInterval(60000);
  const QPointer<QTimer> first = a.findChild<QTimer*>();
  ASSERT_NE(first, nullptr);
  a.setInterval(60000);  // same value, and Play again during the run: same timer
  a.setPlay(true);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(a.findChildren<QTimer*>(), QList<QTimer*>{first.data()});

  QSignalSpy frames(&a, &TAnimated::changeFrame);
  a.setInterval(5);
  ASSERT_EQ(timers(a), 1);
  EXPECT_EQ(a.findChild<QTimer*>()->interval(), 5);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !a.play(); }, 5000));
  EXPECT_EQ(frames.size(), 4);
  EXPECT_EQ(timers(a), 0);

  a.setInterval(7);  // at rest: only stored
  EXPECT_EQ(a.interval(), 7);
  EXPECT_EQ(timers(a), 0);
  a.setPlay(true);
  a.setPlay(false);
  EXPECT_EQ(timers(a), 0);
}

TEST(TAnimatedFrame, NegativeShowsTheLastFrameAndOthersWrap) {
  TAnimated a;
  make_tile(a);
  std::vector<TAnimated*> senders;
  QObject::connect(&a, &TAnimated::changeFrame, [&](TAnimated* s) { senders.push_back(s); });
  a.setFrame(-1);
  EXPECT_EQ(a.frame(), 4);
  a.setFrame(5);
  EXPECT_EQ(a.frame(), 0);
  a.setFrame(0);  // unchanged: no notice
  a.setFrame(12);
  EXPECT_EQ(a.frame(), 2);
  EXPECT_EQ(senders, (std::vector<TAnimated*>{&a, &a, &a}));
}

TEST(TAnimatedFrame, AFrameCountBelowOneActsAsOneFrame) {
  TAnimated a;
  make_tile(a);
  a.setFrame(3);
  a.setFrameCount(0);
  EXPECT_EQ(a.frameCount(), 0);
  a.setFrame(7);
  EXPECT_EQ(a.frame(), 0);
  a.setFrameCount(-3);
  a.setFrame(-1);
  EXPECT_EQ(a.frame(), 0);
  // A run on a single frame ends at its first tick instead of spinning.
  a.setPlay(true);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !a.play(); }, 5000));
  EXPECT_EQ(timers(a), 0);
}

TEST(TAnimatedSetup, StartsSmallAndTakesTheStripsHeight) {
  TAnimated a;
  EXPECT_EQ(a.size(), QSize(30, 30));
  EXPECT_EQ(a.frameCount(), 1);
  EXPECT_TRUE(a.loop());
  EXPECT_FALSE(a.play());
  EXPECT_EQ(a.transparentColor(), -1);
  EXPECT_TRUE(a.testAttribute(Qt::WA_OpaquePaintEvent));

  QImage strip(240, 91, QImage::Format_RGB888);
  strip.fill(Qt::red);
  a.setBitMap(strip);
  strip.fill(Qt::blue);  // the control holds its own copy
  EXPECT_EQ(a.size(), QSize(30, 91));
  EXPECT_EQ(a.bitMap().pixelColor(0, 0), QColor(Qt::red));
  a.setBitMap(QImage());
  EXPECT_EQ(a.size(), QSize(30, 30));
}

TEST(TAnimatedPaint, ShowsTheFrameWithKeyedPixelsInTheControlsColour) {
  const QColor own(0x6F, 0x58, 0x40);
  const QColor key(0x11, 0x22, 0x33);
  // Three frames of 4 x 2: red; key, key, blue, white; yellow.
  QImage strip(12, 2, QImage::Format_RGB888);
  strip.fill(Qt::red);
  for (int y = 0; y < 2; ++y)
    for (int x = 4; x < 12; ++x)
      strip.setPixelColor(x, y, x < 6 ? key : x == 6 ? QColor(Qt::blue) : x == 7 ? QColor(Qt::white) : Qt::yellow);

  TAnimated a;
  QPalette palette = a.palette();
  palette.setColor(QPalette::Window, own);
  a.setPalette(palette);
  a.resize(4, 30);
  auto pixel = [&](int x) { return a.grab().toImage().pixelColor(x, 1); };

  EXPECT_EQ(pixel(0), QColor(Qt::white));  // no strip yet
  a.setBitMap(strip);
  a.setFrameCount(5);
  a.setFrame(1);
  EXPECT_EQ(pixel(0), key);
  EXPECT_EQ(pixel(2), QColor(Qt::blue));
  EXPECT_EQ(pixel(3), QColor(Qt::white));

  a.setTransparentColor(0x00332211);  // the key, as 0x00BBGGRR
  EXPECT_EQ(pixel(0), own);
  EXPECT_EQ(pixel(1), own);
  EXPECT_EQ(pixel(2), QColor(Qt::blue));
  a.setTransparentColor(0x00112233);  // the same bytes as RGB: matches nothing
  EXPECT_EQ(pixel(0), key);
  a.setTransparentColor(velnor::clNone);  // keys on no pixel, white included
  EXPECT_EQ(pixel(0), key);
  EXPECT_EQ(pixel(3), QColor(Qt::white));

  a.setFrame(2);
  EXPECT_EQ(pixel(3), QColor(Qt::yellow));
  a.setFrame(4);  // past the strip's end
  EXPECT_EQ(pixel(0), own);
}

// A picked tile is down like a shut one, but keeps a visible outline until it is shut or taken back.
TEST(TAnimatedPaint, APickedTileLooksUnlikeAShutOne) {
  QImage strip(48 * 5, 91, QImage::Format_RGB888);
  strip.fill(Qt::darkRed);
  TAnimated tile;
  tile.setBitMap(strip);
  tile.setFrameCount(5);
  tile.resize(48, 91);
  tile.setFrame(4);
  tile.setHint("p");
  const QImage shut = tile.grab().toImage();
  tile.setHint("d");
  EXPECT_NE(tile.grab().toImage(), shut);
  tile.setHint("p");
  EXPECT_EQ(tile.grab().toImage(), shut);
}

TEST(TAnimatedMouse, ReportsButtonModifiersAndPlace) {
  QWidget board;
  TAnimated* a = new TAnimated(&board);
  a->move(10, 10);
  board.resize(100, 100);
  board.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&board));

  std::vector<QString> seen;
  auto note = [&](const char* what, TAnimated* s, int buttons, Qt::KeyboardModifiers shift, int x, int y) {
    EXPECT_EQ(s, a);
    seen.push_back(QString::asprintf("%s %x %x %d,%d", what, buttons, shift.toInt(), x, y));
  };
  QObject::connect(
      a, &TAnimated::mouseDown,
      [&](TAnimated* s, Qt::MouseButton b, Qt::KeyboardModifiers m, int x, int y) { note("down", s, b, m, x, y); });
  QObject::connect(a, &TAnimated::mouseMove,
                   [&](TAnimated* s, Qt::MouseButtons b, Qt::KeyboardModifiers m, int x, int y) {
                     note("move", s, b.toInt(), m, x, y);
                   });
  QObject::connect(a, &TAnimated::mouseUp, [&](TAnimated* s, Qt::MouseButton b, Qt::KeyboardModifiers m, int x, int y) {
    note("up", s, b, m, x, y);
  });
  QTest::mousePress(a, Qt::RightButton, Qt::ShiftModifier, QPoint(5, 7));
  QMouseEvent move(QEvent::MouseMove, QPointF(6, 8), a->mapToGlobal(QPointF(6, 8)), Qt::NoButton, Qt::RightButton,
                   Qt::ShiftModifier);
  QApplication::sendEvent(a, &move);
  QTest::mouseRelease(a, Qt::RightButton, Qt::ShiftModifier, QPoint(6, 8));
  // Right button 0x2, Shift 0x2000000.
  EXPECT_EQ(seen, (std::vector<QString>{"down 2 2000000 5,7", "move 2 2000000 6,8", "up 2 2000000 6,8"}));
}
