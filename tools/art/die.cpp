#include "die.h"

#include "palette.h"

#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <array>
#include <span>
#include <utility>

namespace {

using Spot = std::pair<double, double>;

// Pip places on a 3 x 3 grid (0 = first column or row, 2 = last).
std::span<const Spot> layout(int pips) {
  static const std::array<Spot, 1> one{{{1, 1}}};
  static const std::array<Spot, 2> two{{{2, 0}, {0, 2}}};
  static const std::array<Spot, 3> three{{{2, 0}, {1, 1}, {0, 2}}};
  static const std::array<Spot, 4> four{{{0, 0}, {2, 0}, {0, 2}, {2, 2}}};
  static const std::array<Spot, 5> five{{{0, 0}, {2, 0}, {1, 1}, {0, 2}, {2, 2}}};
  static const std::array<Spot, 6> six{{{0, 0}, {0, 1}, {0, 2}, {2, 0}, {2, 1}, {2, 2}}};
  switch (pips) {
    case 1:
      return one;
    case 2:
      return two;
    case 3:
      return three;
    case 4:
      return four;
    case 5:
      return five;
    case 6:
      return six;
    default:
      return {};
  }
}

QPainterPath body_path(const QRectF& rect) {
  QPainterPath path;
  const double radius = rect.width() * 0.2;
  path.addRoundedRect(rect, radius, radius);
  return path;
}

}  // namespace

void draw_die_shadow(QPainter& painter, const QRectF& rect) {
  painter.save();
  painter.setPen(Qt::NoPen);
  const double size = rect.width();
  // A few widening, fainter copies give a soft edge without a blur pass.
  for (int i = 0; i < 4; ++i) {
    const double grow = size * (0.02 + 0.025 * i);
    const QRectF shadow = rect.translated(size * 0.07, size * 0.09).adjusted(-grow, -grow, grow, grow);
    painter.setBrush(QColor(0, 0, 0, 34));
    painter.drawPath(body_path(shadow));
  }
  painter.restore();
}

void draw_die(QPainter& painter, const QRectF& rect, int pips) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  const double size = rect.width();
  const QPainterPath body = body_path(rect);

  // Ivory, lit from the upper left.
  QRadialGradient face(rect.left() + size * 0.32, rect.top() + size * 0.28, size * 0.95);
  face.setColorAt(0.0, QColor(0xFF, 0xFE, 0xF7));
  face.setColorAt(0.55, QColor(0xF7, 0xF1, 0xE1));
  face.setColorAt(1.0, QColor(0xD8, 0xCC, 0xAE));
  painter.setPen(Qt::NoPen);
  painter.setBrush(face);
  painter.drawPath(body);

  // Rounded edges: light on the top and left, shade on the bottom and right.
  const double bevel = size * 0.09;
  QPainterPath rim = body.subtracted(body_path(rect.adjusted(bevel, bevel, -bevel, -bevel)));
  QLinearGradient edge(rect.topLeft(), rect.bottomRight());
  edge.setColorAt(0.0, QColor(255, 255, 255, 170));
  edge.setColorAt(0.45, QColor(255, 255, 255, 0));
  edge.setColorAt(0.6, QColor(90, 70, 40, 0));
  edge.setColorAt(1.0, QColor(90, 70, 40, 120));
  painter.setBrush(edge);
  painter.drawPath(rim);

  // A fine outline keeps the die crisp against light felt.
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(0x4A, 0x3A, 0x24, 170), std::max(0.8, size * 0.03)));
  const double inset = painter.pen().widthF() / 2;
  painter.drawPath(body_path(rect.adjusted(inset, inset, -inset, -inset)));

  // Pips: drilled and inked, each with a light lower lip.
  // A lone pip is drawn larger, as on most dice.
  const double radius = size * (pips == 1 ? 0.12 : 0.092);
  painter.setPen(Qt::NoPen);
  for (const auto& [column, row] : layout(pips)) {
    const QPointF centre(rect.left() + size * (0.25 + 0.25 * column), rect.top() + size * (0.25 + 0.25 * row));
    painter.setBrush(QColor(255, 255, 255, 200));
    painter.drawEllipse(centre + QPointF(radius * 0.25, radius * 0.3), radius, radius);
    QRadialGradient ink(centre - QPointF(radius * 0.3, radius * 0.3), radius * 1.3);
    ink.setColorAt(0.0, QColor(0x05, 0x03, 0x02));
    ink.setColorAt(0.7, kInk);
    ink.setColorAt(1.0, QColor(0x4A, 0x34, 0x22));
    painter.setBrush(ink);
    painter.drawEllipse(centre, radius, radius);
  }
  painter.restore();
}
