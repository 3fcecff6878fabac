#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

#include <cstdint>

class QPainter;
class QTimer;

namespace velnor {

// An image control that shows one frame of a horizontal strip of frames as wide
// as the control, and steps through the strip on a timer, forwards or backwards,
// once or in a loop. The board's tiles are made of it, their state in the hint ("u" open,
// "d" picked, "p" shut): a picked tile, down like a shut one, keeps an outline until it is
// shut or taken back. With the keyboard on it, the focus ring marks it.
class TAnimated : public QWidget {
  Q_OBJECT

 public:
  explicit TAnimated(QWidget* parent = nullptr);

  int interval() const { return interval_; }
  // Restarts a running frame timer with the new interval.
  void setInterval(int interval);

  int frameCount() const { return frame_count_; }
  void setFrameCount(int count) { frame_count_ = count; }

  int frame() const { return frame_; }
  // A negative frame means the last one; others wrap around the frame count.
  void setFrame(int frame);

  const QImage& bitMap() const { return strip_; }
  // Takes a copy; the control becomes as high as the strip (30 when it is empty). A strip
  // with a device pixel ratio above 1 counts in design pixels: a ratio-2 strip of 480 x 182
  // shows frames of the same 48 x 91 as a 240 x 91 one.
  void setBitMap(const QImage& strip);

  bool play() const { return play_; }
  // Starts a run (when the interval is above 0) or stops it; setting the value
  // it already has leaves a running timer alone.
  void setPlay(bool play);

  bool reverse() const { return reverse_; }
  void setReverse(bool reverse) { reverse_ = reverse; }

  bool loop() const { return loop_; }
  void setLoop(bool loop) { loop_ = loop; }

  std::int64_t transparentColor() const { return transparent_color_; }
  // A 0x00BBGGRR colour whose pixels show the control's colour; negative means none.
  void setTransparentColor(std::int64_t color);

  int tag() const { return tag_; }
  void setTag(int tag) { tag_ = tag; }

  QString hint() const { return hint_; }
  void setHint(const QString& hint);

 signals:
  void changeFrame(velnor::TAnimated* sender);
  void mouseDown(velnor::TAnimated* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
  void mouseMove(velnor::TAnimated* sender, Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int x, int y);
  void mouseUp(velnor::TAnimated* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void paint_frame(QPainter& painter);
  void step_frame();
  void start_timer();
  void free_timer();
  // The frame count used for arithmetic: a count below 1 behaves as one frame.
  int frames() const;
  // The strip's extent in design pixels.
  QRect strip_area() const;

  int interval_ = 0;
  int frame_count_ = 1;
  int frame_ = 0;
  QImage strip_;
  bool play_ = false;
  bool reverse_ = false;
  bool loop_ = true;
  std::int64_t transparent_color_ = -1;
  int tag_ = 0;
  QString hint_;
  QTimer* timer_ = nullptr;  // exists only while a run is in progress
};

}  // namespace velnor
