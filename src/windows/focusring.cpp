#include "focusring.h"

#include <QPainter>
#include <QWidget>

#include "windows/tcolor.h"

namespace velnor {

namespace {

constexpr int kDarkWidth = 2;
constexpr int kBrightWidth = 2;

void ring(QPainter& painter, const QRect& r, int width, const QColor& color) {
  painter.fillRect(r.left(), r.top(), r.width(), width, color);
  painter.fillRect(r.left(), r.bottom() - width + 1, r.width(), width, color);
  painter.fillRect(r.left(), r.top(), width, r.height(), color);
  painter.fillRect(r.right() - width + 1, r.top(), width, r.height(), color);
}

}  // namespace

void draw_focus_ring(QPainter& painter, const QWidget& control) {
  if (!control.hasFocus() || !control.window()->testAttribute(Qt::WA_KeyboardFocusChange)) return;
  const QRect bounds = control.rect();
  ring(painter, bounds, kDarkWidth, tcolor(clBlack));
  ring(painter, bounds.adjusted(kDarkWidth, kDarkWidth, -kDarkWidth, -kDarkWidth), kBrightWidth, tcolor(kBrightGreen));
}

}  // namespace velnor
