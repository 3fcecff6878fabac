#include "tanimated.h"

#include "windows/focusring.h"
#include "windows/tcolor.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <optional>
#include <utility>

namespace velnor {

namespace {

// The RGB that a transparent-colour value keys on. Only plain colours and system
// colours name one; other values (clNone among them) match no pixel.
std::optional<QRgb> key_rgb(std::int64_t color) {
  if (color < 0 || color > 0xFFFFFFFF) return std::nullopt;
  const auto value = static_cast<std::uint32_t>(color);
  const std::uint32_t kind = value >> 24;
  if (kind != 0x00 && kind != 0x80) return std::nullopt;
  return tcolor(value).rgb() & RGB_MASK;
}

}  // namespace

TAnimated::TAnimated(QWidget* parent) : QWidget(parent) {
  // Every pixel is painted, so nothing needs to be drawn behind the control.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  resize(30, 30);
}

int TAnimated::frames() const { return std::max(frame_count_, 1); }

void TAnimated::setInterval(int interval) {
  if (interval == interval_) return;
  free_timer();
  interval_ = interval;
  if (play_ && interval_ > 0) start_timer();
}

void TAnimated::setFrame(int frame) {
  const int shown = frame < 0 ? frames() - 1 : frame % frames();
  if (shown == frame_) return;
  frame_ = shown;
  emit changeFrame(this);
  repaint();
}

void TAnimated::setBitMap(const QImage& strip) {
  strip_ = strip;
  resize(width(), strip_.height() == 0 ? 30 : strip_area().height());
  update();
}

QRect TAnimated::strip_area() const {
  const qreal ratio = strip_.devicePixelRatio();
  return QRect(0, 0, static_cast<int>(strip_.width() / ratio), static_cast<int>(strip_.height() / ratio));
}

void TAnimated::setPlay(bool play) {
  if (play == play_) return;
  play_ = play;
  if (play_) {
    if (interval_ > 0) start_timer();
  } else {
    free_timer();
  }
}

void TAnimated::setTransparentColor(std::int64_t color) {
  transparent_color_ = color;
  repaint();
}

void TAnimated::start_timer() {
  timer_ = new QTimer(this);
  timer_->setInterval(interval_);
  connect(timer_, &QTimer::timeout, this, &TAnimated::step_frame);
  timer_->start();
}

void TAnimated::free_timer() {
  // Qt allows deleting a timer from within its own timeout, which is where a
  // run usually ends.
  delete std::exchange(timer_, nullptr);
}

void TAnimated::step_frame() {
  bool run_ends = false;
  if (reverse_) {
    setFrame(frame_ - 1);
    run_ends = frame_ == 0;
  } else {
    setFrame(frame_ + 1);
    run_ends = frame_ == frames() - 1;
  }
  if (run_ends && !loop_) {
    play_ = false;
    free_timer();
  }
}

void TAnimated::setHint(const QString& hint) {
  if (hint == hint_) return;
  hint_ = hint;
  update();
}

void TAnimated::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  paint_frame(painter);
  if (hint_ == "d") {
    // Inside the focus ring's place, so that both show on a picked tile with the keyboard on it.
    constexpr int kInset = 6;
    painter.setPen(QPen(tcolor(kPaleYellow), 2, Qt::DashLine));
    painter.drawRect(QRectF(rect()).adjusted(kInset, kInset, -kInset, -kInset));
  }
  draw_focus_ring(painter, *this);
}

void TAnimated::paint_frame(QPainter& painter) {
  const QRect area = rect();
  if (strip_.height() == 0) {
    painter.fillRect(area, Qt::white);
    return;
  }
  // Whatever part of the frame lies beyond the strip shows the control's colour.
  const QColor own_color = palette().color(QPalette::Window);
  painter.fillRect(area, own_color);
  // Frames are placed in design pixels; a strip drawn for a high-density screen has more
  // pixels than that, so the frame is cut from it at its own ratio and drawn one to one.
  const QRect strip = strip_area();
  // In 64 bits: a large frame count times the width may pass the range of int.
  const long long left = static_cast<long long>(width()) * frame_;
  if (left >= strip.width()) return;
  const QRect source(static_cast<int>(left), 0, width(), height());
  const QRect visible = source.intersected(strip);
  if (visible.isEmpty()) return;
  const QRect target(visible.topLeft() - source.topLeft(), visible.size());
  const qreal ratio = strip_.devicePixelRatio();
  const QRect pixels = QRectF(QPointF(visible.topLeft()) * ratio, QSizeF(visible.size()) * ratio).toRect();
  const std::optional<QRgb> key = key_rgb(transparent_color_);
  if (!key) {
    painter.drawImage(target, strip_, pixels);
    return;
  }
  QImage scratch = strip_.copy(pixels).convertToFormat(QImage::Format_ARGB32);
  const QRgb fill = own_color.rgb();
  for (int y = 0; y < scratch.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(scratch.scanLine(y));
    for (int x = 0; x < scratch.width(); ++x)
      if ((line[x] & RGB_MASK) == *key) line[x] = fill;
  }
  painter.drawImage(target, scratch);
}

void TAnimated::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  emit mouseDown(this, event->button(), event->modifiers(), at.x(), at.y());
}

void TAnimated::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  emit mouseMove(this, event->buttons(), event->modifiers(), at.x(), at.y());
}

void TAnimated::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  emit mouseUp(this, event->button(), event->modifiers(), at.x(), at.y());
}

}  // namespace velnor
