#include "shading.h"

#include <algorithm>
#include <cmath>

void inner_shadow(QPainter& painter, const QPainterPath& area, double depth, int alpha) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setClipPath(area, Qt::IntersectClip);
  painter.setPen(Qt::NoPen);
  const int steps = std::max(1, static_cast<int>(std::ceil(depth * 2)));
  QPainterPath outside;
  outside.addRect(area.boundingRect().adjusted(-depth - 2, -depth - 2, depth + 2, depth + 2));
  for (int i = 1; i <= steps; ++i) {
    const double shift = depth * i / steps;
    painter.setBrush(QColor(0, 0, 0, alpha / steps));
    painter.drawPath(outside.subtracted(area.translated(shift, shift)));
  }
  painter.restore();
}

void drop_shadow(QPainter& painter, const QPainterPath& shape, double offset, double softness, int alpha) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(Qt::NoBrush);
  const int steps = std::max(1, static_cast<int>(std::ceil(softness * 2)));
  const QPainterPath moved = shape.translated(offset, offset);
  // Concentric strokes of falling strength stand in for a blur.
  for (int i = steps; i >= 1; --i) {
    painter.setPen(
        QPen(QColor(0, 0, 0, alpha / steps), softness * 2.0 * i / steps, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(moved);
  }
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0, 0, 0, alpha));
  painter.drawPath(moved);
  painter.restore();
}

void raised_rim(QPainter& painter, const QRectF& rect, double width, int light_alpha, int dark_alpha) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(Qt::NoPen);
  for (int i = 0; i < static_cast<int>(width); ++i) {
    const QRectF ring = rect.adjusted(i, i, -i, -i);
    // Outer rings strongest, fading toward the inside.
    const double fade = 1.0 - 0.5 * i / std::max(1.0, width);
    const QColor light(255, 240, 220, static_cast<int>(light_alpha * fade));
    const QColor dark(0, 0, 0, static_cast<int>(dark_alpha * fade));
    painter.fillRect(QRectF(ring.left(), ring.top(), ring.width() - 1, 1), light);
    painter.fillRect(QRectF(ring.left(), ring.top() + 1, 1, ring.height() - 2), light);
    painter.fillRect(QRectF(ring.left() + 1, ring.bottom() - 1, ring.width() - 1, 1), dark);
    painter.fillRect(QRectF(ring.right() - 1, ring.top(), 1, ring.height() - 1), dark);
  }
  painter.restore();
}

void pixel_frame(QPainter& painter, const QRect& rect, const QColor& colour) {
  painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), colour);
  painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), colour);
  painter.fillRect(QRect(rect.left(), rect.top() + 1, 1, rect.height() - 2), colour);
  painter.fillRect(QRect(rect.right(), rect.top() + 1, 1, rect.height() - 2), colour);
}

void pressed_text(QPainter& painter, const QPainterPath& text, const QColor& colour, const QColor& lip) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(lip);
  painter.drawPath(text.translated(1, 1));
  painter.setBrush(colour);
  painter.drawPath(text);
  painter.restore();
}
