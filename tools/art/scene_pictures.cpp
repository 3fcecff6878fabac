#include "scene_pictures.h"

#include "die.h"
#include "materials.h"
#include "palette.h"
#include "shading.h"
#include "tile.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <array>
#include <cmath>
#include <numbers>

namespace {

// A die of `size` centred on `centre`, turned by `angle` degrees, with its shadow.
void place_die(QPainter& painter, QPointF centre, double size, double angle, int pips) {
  painter.save();
  painter.translate(centre);
  painter.rotate(angle);
  const QRectF body(-size / 2, -size / 2, size, size);
  draw_die_shadow(painter, body);
  draw_die(painter, body, pips);
  painter.restore();
}

QPainterPath star_path(QPointF centre, double outer, double inner, int points) {
  QPainterPath star;
  for (int i = 0; i < points * 2; ++i) {
    const double angle = -std::numbers::pi / 2 + i * std::numbers::pi / points;
    const double radius = i % 2 == 0 ? outer : inner;
    const QPointF point = centre + QPointF(std::cos(angle) * radius, std::sin(angle) * radius);
    if (i == 0)
      star.moveTo(point);
    else
      star.lineTo(point);
  }
  star.closeSubpath();
  return star;
}

// A gold surface shaded like a turned cylinder between x = left and x = right.
QLinearGradient gold_across(double left, double right) {
  QLinearGradient gold(left, 0, right, 0);
  gold.setColorAt(0.0, QColor(0x7A, 0x4A, 0x08));
  gold.setColorAt(0.28, QColor(0xE8, 0xB8, 0x40));
  gold.setColorAt(0.4, QColor(0xFF, 0xF6, 0xC8));
  gold.setColorAt(0.55, QColor(0xE6, 0xAE, 0x34));
  gold.setColorAt(1.0, QColor(0x6A, 0x3E, 0x06));
  return gold;
}

void draw_trophy(QPainter& painter) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  const QColor edge(0x3A, 0x22, 0x04);

  // Handles behind the bowl.
  painter.setBrush(Qt::NoBrush);
  for (const double side : {-1.0, 1.0}) {
    QPainterPath handle;
    const double x = 48.5 + side * 20;
    handle.moveTo(x, 18);
    handle.cubicTo(x + side * 14, 16, x + side * 14, 36, x - side * 4, 40);
    painter.setPen(QPen(edge, 5.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(handle);
    painter.setPen(QPen(QColor(0xE0, 0xAA, 0x38), 3.0, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(handle);
  }

  // Plinth of dark wood with a brass plate.
  const QRectF plinth(29, 68, 39, 10);
  painter.setPen(QPen(QColor(0x1A, 0x0C, 0x04), 1));
  painter.setBrush(QColor(0x4A, 0x2A, 0x14));
  painter.drawRoundedRect(plinth, 1.5, 1.5);
  painter.setPen(Qt::NoPen);
  painter.setBrush(gold_across(36, 61));
  painter.drawRect(QRectF(38, 70.5, 21, 5));

  // Foot and stem.
  QPainterPath foot;
  foot.moveTo(37, 68);
  foot.lineTo(60, 68);
  foot.lineTo(55, 61);
  foot.lineTo(42, 61);
  foot.closeSubpath();
  foot.addRect(QRectF(45.5, 48, 6, 14));
  foot.addEllipse(QPointF(48.5, 55), 6, 2.5);
  painter.setPen(QPen(edge, 1));
  painter.setBrush(gold_across(37, 60));
  painter.drawPath(foot.simplified());

  // The bowl.
  QPainterPath bowl;
  bowl.moveTo(27, 13);
  bowl.lineTo(70, 13);
  bowl.cubicTo(70, 36, 62, 49, 48.5, 50);
  bowl.cubicTo(35, 49, 27, 36, 27, 13);
  bowl.closeSubpath();
  painter.setBrush(gold_across(27, 70));
  painter.drawPath(bowl);
  painter.setBrush(QColor(0x6A, 0x40, 0x0A));
  painter.drawEllipse(QRectF(27, 10, 43, 6));

  // A star on its face.
  const QPainterPath star = star_path(QPointF(48.5, 29), 9, 3.8, 5);
  painter.setPen(QPen(QColor(0x8A, 0x52, 0x06), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(QColor(0xFF, 0xF4, 0xB0));
  painter.drawPath(star);
  painter.restore();
}

void sparkle(QPainter& painter, QPointF centre, double size) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0xFF, 0xFF, 0xC6, 230));
  painter.drawPath(star_path(centre, size, size * 0.22, 4));
  painter.restore();
}

// One player's board, 170 x 74, drawn with its top-left at the origin:
// cloth with the dice toward the table's middle, tiles toward the player.
void draw_mini_board(QPainter& painter, uint32_t seed, const std::array<double, 9>& covers, int die1, int die2) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF board(0, 0, 170, 74);
  QPainterPath outline;
  outline.addRoundedRect(board, 4, 4);
  drop_shadow(painter, outline, 3, 3, 90);
  painter.setClipPath(outline);
  WoodLook wood = kWalnut;
  wood.seed = seed;
  painter.drawImage(0, 0, wood_texture(board.size().toSize(), wood, texel_scale(painter)));
  raised_rim(painter, board, 2, 80, 110);

  const QRectF cloth(4, 4, 162, 28);
  painter.drawImage(cloth.topLeft(),
                    felt_texture(cloth.size().toSize(), QColor(0x3F, 0x98, 0x4C), seed, texel_scale(painter)));
  QPainterPath cloth_path;
  cloth_path.addRect(cloth);
  inner_shadow(painter, cloth_path, 1.5, 120);
  painter.setPen(QPen(QColor(0x1F, 0x5A, 0x26, 150), 0.8));
  painter.setBrush(QColor(0x72, 0xC0, 0x74));
  painter.drawRoundedRect(QRectF(8, 8, 24, 20), 3, 3);
  place_die(painter, QPointF(76, 18), 15, -18, die1);
  place_die(painter, QPointF(98, 17), 15, 11, die2);

  const QRectF tray(4, 35, 162, 33);
  painter.fillRect(tray, kTrayColour);
  for (int i = 0; i < 9; ++i)
    draw_tile(painter, QRectF(6 + i * 17.6, 36, 16, 30.5), i + 1, covers[static_cast<std::size_t>(i)]);
  painter.fillRect(QRectF(4, 67, 162, 2), QColor(255, 220, 170, 70));
  painter.restore();
}

}  // namespace

QImage game_over_picture(int scale) {
  const QRect area(0, 0, 97, 104);
  QImage image = canvas(area.size(), QImage::Format_RGB888, scale);
  image.fill(kWindowBrown);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);

  // A warm glow behind the cup.
  QRadialGradient glow(QPointF(48.5, 38), 46);
  glow.setColorAt(0.0, QColor(0xFF, 0xE8, 0x90, 110));
  glow.setColorAt(1.0, QColor(0xFF, 0xE8, 0x90, 0));
  painter.fillRect(area, glow);

  draw_trophy(painter);
  sparkle(painter, QPointF(14, 14), 6);
  sparkle(painter, QPointF(84, 9), 5);
  sparkle(painter, QPointF(86, 46), 4);
  sparkle(painter, QPointF(11, 48), 3.5);

  place_die(painter, QPointF(23, 84), 30, -16, 6);
  place_die(painter, QPointF(74, 85), 30, 13, 5);
  return image;
}

QImage about_picture(int scale) {
  const QSize size(97, 104);
  QImage image = canvas(size, QImage::Format_RGB888, scale);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.drawImage(0, 0, wood_texture(size, kWalnut, scale));

  const QRectF cloth(4, 4, 93, 44);
  painter.drawImage(cloth.topLeft(), felt_texture(cloth.size().toSize(), QColor(0x3F, 0x98, 0x4C), 17, scale));
  QPainterPath cloth_path;
  cloth_path.addRect(cloth);
  inner_shadow(painter, cloth_path, 2.5, 140);
  place_die(painter, QPointF(34, 25), 26, -14, 3);
  place_die(painter, QPointF(70, 24), 26, 9, 6);

  const QRectF tray(4, 52, 93, 48);
  painter.fillRect(tray, kTrayColour);
  QPainterPath tray_path;
  tray_path.addRect(tray);
  inner_shadow(painter, tray_path, 2, 140);
  // Tiles 7 to 9, whole and centred in the tray: the window shows the picture as it is.
  const std::array<double, 3> covers{1.0, 0.0, 0.5};
  for (int i = 0; i < 3; ++i)
    draw_tile(painter, QRectF(12.5 + i * 26, 53, 24, 45.5), 7 + i, covers[static_cast<std::size_t>(i)]);
  raised_rim(painter, QRectF(0, 0, 97, 104), 3, 80, 120);
  pixel_frame(painter, QRect(0, 0, 97, 104), QColor(0x1A, 0x0E, 0x06));
  return image;
}

QImage multiplayer_picture(int scale) {
  const QRect area(0, 0, 400, 300);
  QImage image = canvas(area.size(), QImage::Format_RGB888, scale);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);

  // The room, dim at the edges.
  QRadialGradient room(QPointF(200, 150), 260);
  room.setColorAt(0.0, QColor(0x5A, 0x44, 0x2E));
  room.setColorAt(1.0, QColor(0x1C, 0x12, 0x0A));
  painter.fillRect(area, room);

  // A round oak table under a lamp.
  QPainterPath table;
  table.addEllipse(QPointF(200, 150), 192, 143);
  drop_shadow(painter, table, 4, 5, 120);
  painter.save();
  painter.setClipPath(table);
  painter.drawImage(0, 0, wood_texture(area.size(), kOak, scale));
  QRadialGradient lamp(QPointF(200, 140), 200);
  lamp.setColorAt(0.0, QColor(255, 240, 200, 50));
  lamp.setColorAt(0.6, QColor(255, 240, 200, 0));
  lamp.setColorAt(1.0, QColor(0, 0, 0, 110));
  painter.fillRect(area, lamp);
  painter.restore();
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(0x2A, 0x16, 0x08), 2));
  painter.drawPath(table);
  painter.setPen(QPen(QColor(255, 225, 170, 70), 1.5));
  painter.drawEllipse(QPointF(200, 150), 186, 137);

  // Felt in the middle, where the dice of the shared turn land.
  QPainterPath centre;
  centre.addEllipse(QPointF(200, 150), 70, 46);
  painter.save();
  painter.setClipPath(centre);
  painter.drawImage(130, 104, felt_texture(QSize(140, 92), QColor(0x3F, 0x98, 0x4C), 29, scale));
  painter.restore();
  inner_shadow(painter, centre, 3, 140);
  painter.setPen(QPen(QColor(0xC8, 0x9A, 0x40), 1.5));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(centre);
  place_die(painter, QPointF(185, 147), 24, -20, 4);
  place_die(painter, QPointF(216, 153), 24, 14, 2);

  struct Seat {
    QPointF middle;
    double angle;
    std::array<double, 9> covers;
    int die1;
    int die2;
  };
  const std::array<Seat, 4> seats{{
      {{200, 252}, 0, {1, 1, 0, 1, 0, 0, 1, 0, 0}, 3, 5},
      {{200, 48}, 180, {0, 1, 1, 0, 0, 0, 0, 1, 0.5}, 6, 2},
      {{52, 150}, 90, {1, 0, 1, 1, 1, 0, 0, 0, 1}, 1, 4},
      {{348, 150}, -90, {0, 0, 0, 1, 0, 1, 0, 0, 0}, 5, 5},
  }};
  uint32_t seed = 101;
  for (const Seat& seat : seats) {
    painter.save();
    painter.translate(seat.middle);
    painter.rotate(seat.angle);
    painter.translate(-85, -37);
    draw_mini_board(painter, seed++, seat.covers, seat.die1, seat.die2);
    painter.restore();
  }
  return image;
}

namespace {

// The icon's drawing on a painter that works in 256 x 256 design pixels, its textures made at
// `texels` to a design pixel. Small icons (`small`) show one die, large enough that its pips
// stay apart, on a frame wide enough to stay a frame.
void paint_icon(QPainter& painter, int texels, bool small) {
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  const QSize size(256, 256);
  const QRectF outer = small ? QRectF(4, 4, 248, 248) : QRectF(6, 6, 244, 244);
  const double corner = small ? 40 : 46;
  QPainterPath frame;
  frame.addRoundedRect(outer, corner, corner);
  painter.save();
  painter.setClipPath(frame);
  painter.drawImage(QRectF(QPointF(0, 0), size), wood_texture(size, kWalnut, texels));
  painter.restore();

  const double rim = small ? 30 : 18;
  const QRectF inner = outer.adjusted(rim, rim, -rim, -rim);
  QPainterPath cloth;
  cloth.addRoundedRect(inner, 30, 30);
  painter.save();
  painter.setClipPath(cloth);
  painter.drawImage(inner, felt_texture(inner.size().toSize(), QColor(0x3A, 0x9A, 0x48), 31, texels));
  QRadialGradient lamp(inner.center() - QPointF(20, 20), 170);
  lamp.setColorAt(0.0, QColor(255, 255, 220, 40));
  lamp.setColorAt(1.0, QColor(0, 0, 0, 80));
  painter.fillRect(inner, lamp);
  painter.restore();
  inner_shadow(painter, cloth, 6, 160);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(0x1A, 0x0C, 0x04), small ? 8 : 3));
  const double edge = painter.pen().widthF() / 2;
  painter.drawRoundedRect(outer.adjusted(edge, edge, -edge, -edge), corner - 1, corner - 1);

  if (small) {
    place_die(painter, QPointF(126, 126), 136, -8, 5);
  } else {
    place_die(painter, QPointF(160, 100), 92, 18, 3);
    place_die(painter, QPointF(106, 152), 112, -9, 5);
  }
}

}  // namespace

QImage window_icon(int scale) {
  QImage image = canvas(QSize(256, 256), QImage::Format_ARGB32, scale);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  paint_icon(painter, scale, false);
  return image;
}

QImage desktop_icon(int pixels) {
  // At whole multiples of its size the desktop's icon is the window's own.
  if (pixels % 256 == 0) return window_icon(pixels / 256);
  QImage image(pixels, pixels, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.scale(pixels / 256.0, pixels / 256.0);
  paint_icon(painter, 1, pixels < 48);
  return image;
}
