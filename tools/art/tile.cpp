#include "tile.h"

#include "materials.h"
#include "palette.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

// The number as an outline, centred in `rect` and snapped to whole pixels so its stems stay sharp.
QPainterPath number_path(int number, const QRectF& rect) {
  QFont font("Liberation Serif");
  font.setBold(true);
  font.setPixelSize(std::max(6, static_cast<int>(std::lround(rect.height() * 0.6))));
  QPainterPath path;
  path.addText(0, 0, font, QString::number(number));
  const QRectF bounds = path.boundingRect();
  const QPointF centre(rect.center().x(), rect.top() + rect.height() * 0.5);
  return path.translated(std::round(centre.x() - bounds.center().x()), std::round(centre.y() - bounds.center().y()));
}

void draw_face(QPainter& painter, const QRectF& rect, int number) {
  const QSize size(static_cast<int>(std::ceil(rect.width())), static_cast<int>(std::ceil(rect.height())));
  WoodLook maple = kMaple;
  maple.seed += static_cast<uint32_t>(number) * 101;
  painter.drawImage(rect.topLeft(), wood_texture_vertical(size, maple, texel_scale(painter)));

  // Gentle curvature: brighter in the middle, darker toward the sides.
  QLinearGradient across(rect.topLeft(), rect.topRight());
  across.setColorAt(0.0, QColor(80, 50, 20, 70));
  across.setColorAt(0.25, QColor(255, 255, 240, 0));
  across.setColorAt(0.5, QColor(255, 255, 240, 40));
  across.setColorAt(0.75, QColor(255, 255, 240, 0));
  across.setColorAt(1.0, QColor(80, 50, 20, 90));
  painter.fillRect(rect, across);

  // The number is engraved: a pale lip below and right, then the ink.
  const QPainterPath digits = number_path(number, rect);
  const double step = std::max(0.6, rect.width() / 48.0);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(255, 255, 255, 150));
  painter.drawPath(digits.translated(step, step));
  painter.setBrush(kInk);
  painter.drawPath(digits);

  // Small ornaments above and below the number.
  const double unit = rect.width() / 48.0;
  painter.setBrush(QColor(0x8A, 0x5E, 0x34, 200));
  for (const double y : {rect.top() + rect.height() * 0.13, rect.top() + rect.height() * 0.87}) {
    QPainterPath diamond;
    const QPointF c(rect.center().x(), y);
    diamond.moveTo(c + QPointF(0, -3 * unit));
    diamond.lineTo(c + QPointF(3 * unit, 0));
    diamond.lineTo(c + QPointF(0, 3 * unit));
    diamond.lineTo(c + QPointF(-3 * unit, 0));
    diamond.closeSubpath();
    painter.drawPath(diamond);
    painter.fillRect(QRectF(c.x() - 12 * unit, y - 0.5 * unit, 7 * unit, unit), QColor(0x8A, 0x5E, 0x34, 150));
    painter.fillRect(QRectF(c.x() + 5 * unit, y - 0.5 * unit, 7 * unit, unit), QColor(0x8A, 0x5E, 0x34, 150));
  }
}

void draw_cover(QPainter& painter, const QRectF& rect, double covered, int number) {
  const double height = std::round(rect.height() * covered);
  if (height <= 0) return;
  const double unit = rect.width() / 48.0;
  const QRectF flap(rect.left(), rect.top(), rect.width(), height);

  // Its shadow falls on the face just below its lower edge.
  if (height < rect.height()) {
    const double reach = 6 * unit;
    QLinearGradient shade(0, flap.bottom(), 0, flap.bottom() + reach);
    shade.setColorAt(0.0, QColor(0, 0, 0, 120));
    shade.setColorAt(1.0, QColor(0, 0, 0, 0));
    painter.fillRect(QRectF(rect.left(), flap.bottom(), rect.width(), reach).intersected(rect), shade);
  }

  // The wood moves with the cover: its texture hangs from the cover's lower edge.
  WoodLook mahogany = kMahogany;
  mahogany.seed += static_cast<uint32_t>(number) * 53;
  const QImage wood = wood_texture_vertical(rect.size().toSize(), mahogany, texel_scale(painter));
  painter.save();
  painter.setClipRect(flap);
  painter.drawImage(QPointF(rect.left(), flap.bottom() - rect.height()), wood);

  // Raised sides and a rounded lower lip.
  QLinearGradient across(flap.topLeft(), flap.topRight());
  across.setColorAt(0.0, QColor(255, 200, 150, 70));
  across.setColorAt(0.12, QColor(255, 200, 150, 0));
  across.setColorAt(0.85, QColor(0, 0, 0, 0));
  across.setColorAt(1.0, QColor(0, 0, 0, 110));
  painter.fillRect(flap, across);
  const double lip = std::min(height, 5 * unit);
  QLinearGradient lower(0, flap.bottom() - lip, 0, flap.bottom());
  lower.setColorAt(0.0, QColor(255, 190, 140, 0));
  lower.setColorAt(0.45, QColor(255, 190, 140, 80));
  lower.setColorAt(1.0, QColor(0, 0, 0, 140));
  painter.fillRect(QRectF(flap.left(), flap.bottom() - lip, flap.width(), lip), lower);

  // A brass pull near the lip, riding down with the cover.
  const QPointF knob(flap.center().x(), flap.bottom() - 9 * unit);
  const double knob_radius = 3.2 * unit;
  if (knob.y() - knob_radius > flap.top()) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 110));
    painter.drawEllipse(knob + QPointF(0.6 * unit, 0.8 * unit), knob_radius, knob_radius);
    QRadialGradient brass(knob - QPointF(knob_radius * 0.4, knob_radius * 0.4), knob_radius * 1.4);
    brass.setColorAt(0.0, QColor(0xFF, 0xF0, 0xB0));
    brass.setColorAt(0.5, QColor(0xD4, 0xA4, 0x40));
    brass.setColorAt(1.0, QColor(0x7A, 0x55, 0x18));
    painter.setBrush(brass);
    painter.drawEllipse(knob, knob_radius, knob_radius);
  }
  painter.restore();
}

}  // namespace

void draw_tile(QPainter& painter, const QRectF& rect, int number, double covered) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(rect, kTrayColour);

  const double unit = rect.width() / 48.0;
  const double radius = 3 * unit;
  QPainterPath outline;
  outline.addRoundedRect(rect, radius, radius);
  painter.setClipPath(outline);

  draw_face(painter, rect, number);
  draw_cover(painter, rect, std::clamp(covered, 0.0, 1.0), number);

  // Bevel all round: a light top and left, a dark bottom and right.
  const double bevel = std::max(1.0, 2 * unit);
  painter.fillRect(QRectF(rect.left(), rect.top(), rect.width(), bevel), QColor(255, 255, 255, 60));
  painter.fillRect(QRectF(rect.left(), rect.top(), bevel, rect.height()), QColor(255, 255, 255, 45));
  painter.fillRect(QRectF(rect.left(), rect.bottom() - bevel, rect.width(), bevel), QColor(0, 0, 0, 70));
  painter.fillRect(QRectF(rect.right() - bevel, rect.top(), bevel, rect.height()), QColor(0, 0, 0, 60));
  painter.setClipping(false);

  // The thin dark edge that parts neighbouring tiles.
  const double pen = std::max(0.7, unit);
  painter.setPen(QPen(QColor(0x33, 0x1E, 0x0E), pen));
  painter.setBrush(Qt::NoBrush);
  painter.drawRoundedRect(rect.adjusted(pen / 2, pen / 2, -pen / 2, -pen / 2), radius, radius);
  painter.restore();
}
