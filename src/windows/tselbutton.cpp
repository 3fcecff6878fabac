#include "tselbutton.h"

#include "focusring.h"
#include "tcolor.h"
#include "tfont.h"

#include <QApplication>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

namespace velnor {

namespace {

constexpr std::uint32_t kDefaultOverColor = 10795396;  // #84B9A4
constexpr int kDefaultWidth = 105;
constexpr int kDefaultHeight = 20;

// A one-pixel frame just inside r; nothing when r is empty.
void frame_rect(QPainter& painter, const QRect& r, const QColor& color) {
  if (r.isEmpty()) return;
  painter.fillRect(r.left(), r.top(), r.width(), 1, color);
  painter.fillRect(r.left(), r.bottom(), r.width(), 1, color);
  painter.fillRect(r.left(), r.top(), 1, r.height(), color);
  painter.fillRect(r.right(), r.top(), 1, r.height(), color);
}

}  // namespace

TSelButton::TSelButton(QWidget* parent)
    : QWidget(parent),
      color_(clBtnFace),
      color_border_(clGray),
      color_over_(kDefaultOverColor),
      color_down_(kDefaultOverColor),
      color_over_caption_(clBlack),
      font_color_(clGray),
      text_color_(clGray) {
  setFont(tfont(kButtonFont, 8));
  drawing_font_ = font();
  setFocusPolicy(Qt::TabFocus);
  resize(kDefaultWidth, kDefaultHeight);
}

void TSelButton::setCaption(const QString& caption) {
  caption_ = caption;
  show_look(Look::normal);
}

void TSelButton::setColor(std::uint32_t color) {
  color_ = color;
  show_look(Look::normal);
}

void TSelButton::setColorBorder(std::uint32_t color) {
  color_border_ = color;
  show_look(Look::normal);
}

void TSelButton::setFontColor(std::uint32_t color) {
  font_color_ = color;
  update();
}

void TSelButton::setAlignment(TAlignment alignment) {
  alignment_ = alignment;
  show_look(Look::normal);
}

void TSelButton::setBorderWidth(int width) {
  border_width_ = width;
  show_look(Look::normal);
}

void TSelButton::show_look(Look look) {
  look_ = look;
  repaint();
  look_ = Look::normal;
}

bool TSelButton::event(QEvent* event) {
  // A button placed without a caption of its own shows its name.
  if (event->type() == QEvent::ParentChange && parentWidget() != nullptr) caption_ = objectName();
  return QWidget::event(event);
}

void TSelButton::paintEvent(QPaintEvent*) {
  std::uint32_t face = color_;
  switch (look_) {
    case Look::normal:
      drawing_font_ = font();
      text_color_ = font_color_;
      break;
    case Look::over:
      face = color_over_;
      text_color_ = color_over_caption_;
      break;
    case Look::pressed:
      face = color_down_;
      break;
  }
  const int shift = look_ == Look::pressed ? 1 : 0;
  const int w = width();
  const int h = height();
  const QColor face_color = tcolor(face);

  QPainter painter(this);
  // The outermost pixel ring is left to the rings, or to what lies beneath.
  const QRect face_rect(1, 1, w - 2, h - 2);
  if (!face_rect.isEmpty()) painter.fillRect(face_rect, face_color);

  painter.setFont(drawing_font_);
  const QFontMetrics metrics = painter.fontMetrics();
  const int tw = metrics.horizontalAdvance(caption_);
  const int th = metrics.height();
  int x = 0;
  switch (alignment_) {
    case TAlignment::taCenter:
      x = w / 2 - tw / 2 + shift;
      break;
    case TAlignment::taLeftJustify:
      x = 5 + shift;
      break;
    case TAlignment::taRightJustify:
      x = w - tw - 6 - shift;
      break;
  }
  const int y = h / 2 - th / 2 + shift;
  // The caption's cell is opaque in the face colour, even where it runs past the face.
  painter.fillRect(x, y, tw, th, face_color);
  painter.setPen(tcolor(text_color_));
  painter.drawText(QPoint(x, y + metrics.ascent()), caption_);

  const QColor border = tcolor(color_border_);
  for (int k = 0; k < border_width_; ++k) frame_rect(painter, QRect(k, k, w - 2 * k, h - 2 * k), border);
  draw_focus_ring(painter, *this);
}

void TSelButton::enterEvent(QEnterEvent*) { pointer_entered(); }

void TSelButton::leaveEvent(QEvent*) { pointer_left(); }

void TSelButton::mouseMoveEvent(QMouseEvent* event) {
  // While a mouse button is held Qt keeps enter and leave back until the
  // release; the looks follow the pointer all the same.
  const bool inside = rect().contains(event->position().toPoint());
  if (inside == pointer_inside_) return;
  if (inside)
    pointer_entered();
  else
    pointer_left();
}

void TSelButton::pointer_entered() {
  pointer_inside_ = true;
  if (button_enabled_) show_look(Look::over);
}

void TSelButton::pointer_left() {
  pointer_inside_ = false;
  show_look(Look::normal);
}

void TSelButton::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) click_pending_ = true;
  press(event);
}

void TSelButton::mouseDoubleClickEvent(QMouseEvent* event) {
  // The second press of a double click presses the button but never clicks it.
  press(event);
}

void TSelButton::press(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !button_enabled_) return;
  const QPoint at = event->position().toPoint();
  QPointer<TSelButton> self(this);
  emit mouseDown(this, event->button(), event->modifiers(), at.x(), at.y());
  if (self) show_look(Look::pressed);
}

void TSelButton::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint at = event->position().toPoint();
  // A handler may delete the button; nothing of it is touched afterwards.
  QPointer<TSelButton> self(this);
  // The click comes before the release is reported.
  if (click_pending_) {
    click_pending_ = false;
    if (rect().contains(at)) {
      on_click();
      if (!self) return;
    }
  }
  if (!button_enabled_) return;
  emit mouseUp(this, event->button(), event->modifiers(), at.x(), at.y());
  // The pointer sits where it was released; whatever lies on top there wins,
  // even a disabled control.
  if (self && QApplication::widgetAt(event->globalPosition().toPoint()) == this) show_look(Look::over);
}

void TSelButton::on_click() {
  show_look(Look::normal);
  activate();
}

void TSelButton::activate() {
  if (button_enabled_) emit click(this);
}

void TSelButton::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)
    activate();
  else
    QWidget::keyPressEvent(event);
}

void apply_game_style(TSelButton& button, int font_height) {
  button.setColor(kPaleYellow);
  button.setColorOver(kPaleYellow);
  button.setColorDown(kPaleYellow);
  button.setColorBorder(kDarkGreen);
  button.setColorOverCaption(kDarkGreen);
  button.setBorderWidth(1);
  button.setButtonEnabled(true);
  button.setFont(tfont(kButtonFont, font_height, FontStyle{.bold = true}));
  button.setFontColor(kCaptionGrey);
  button.setAlignment(TAlignment::taCenter);
}

}  // namespace velnor
