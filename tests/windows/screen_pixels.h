#pragma once

#include "windows/tcolor.h"

#include <QImage>
#include <QRect>
#include <QScreen>
#include <QWidget>

#include <cstdint>

namespace velnor::testing {

// What the screen shows of a widget right now. Unlike QWidget::grab(), which
// paints the widget afresh, this keeps a look drawn in a pointer event.
inline QImage on_screen(QWidget& widget) {
  QWidget* window = widget.window();
  const QImage whole = window->screen()->grabWindow(window->winId()).toImage();
  const QPoint at = widget.mapTo(window, QPoint(0, 0));
  return whole.copy(QRect(at, widget.size())).convertToFormat(QImage::Format_RGB32);
}

inline QRgb rgb(std::uint32_t color) { return tcolor(color).rgb(); }

// The smallest rectangle holding every pixel of the colour; empty if none.
inline QRect bounds_of(const QImage& image, QRgb color) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) == color) box |= QRect(x, y, 1, 1);
  return box;
}

}  // namespace velnor::testing
