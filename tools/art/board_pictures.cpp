#include "board_pictures.h"

#include "die.h"
#include "materials.h"
#include "palette.h"
#include "shading.h"
#include "tile.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr int kTileWidth = 48;
constexpr int kTileHeight = 91;
constexpr int kTileFrames = 5;
constexpr int kDieSize = 32;

// Where the window puts the tiles, relative to the tiles' backdrop.
constexpr std::array<int, 9> kTileLefts{7, 62, 117, 172, 227, 282, 337, 392, 448};

// Where the window writes round numbers and scores in the round column.
constexpr std::array<int, 10> kRoundTops{15, 36, 57, 79, 100, 121, 142, 164, 185, 206};

QPainterPath text_path(const QString& text, const QFont& font) {
  QPainterPath path;
  path.addText(0, 0, font, text);
  return path;
}

QFont bold_font(const char* family, int pixels) {
  QFont font(family);
  font.setBold(true);
  font.setPixelSize(pixels);
  return font;
}

}  // namespace

QImage tile_strip(int number, int scale) {
  QImage strip = canvas(QSize(kTileWidth * kTileFrames, kTileHeight), QImage::Format_RGB888, scale);
  QPainter painter(&strip);
  for (int frame = 0; frame < kTileFrames; ++frame)
    draw_tile(painter, QRectF(frame * kTileWidth, 0, kTileWidth, kTileHeight), number, frame / 4.0);
  return strip;
}

QImage dice_strip(int scale) {
  QImage strip = canvas(QSize(kDieSize * 7, kDieSize), QImage::Format_ARGB32, scale);
  strip.fill(Qt::transparent);
  QPainter painter(&strip);
  painter.fillRect(0, 0, kDieSize, kDieSize, Qt::black);
  for (int pips = 1; pips <= 6; ++pips) draw_die(painter, QRectF(pips * kDieSize, 0, kDieSize, kDieSize), pips);
  return strip;
}

QImage tiles_backdrop(int scale) {
  const QSize size(503, 120);
  QImage image = canvas(size, QImage::Format_RGB32, scale);
  QPainter painter(&image);
  painter.drawImage(0, 0, wood_texture(size, kWalnut, scale));

  // The recess the tiles stand in; only the gaps between them show.
  const QRectF tray(3, 0, 497, 92);
  painter.fillRect(tray, QColor(kTrayColour.red(), kTrayColour.green(), kTrayColour.blue(), 215));
  QPainterPath tray_path;
  tray_path.addRect(tray);
  inner_shadow(painter, tray_path, 3, 150);
  // A faint lamp glow in each gap, so the recess does not read as a hole.
  for (int i = 0; i + 1 < static_cast<int>(kTileLefts.size()); ++i) {
    const double gap = kTileLefts[i] + kTileWidth + (kTileLefts[i + 1] - kTileLefts[i] - kTileWidth) / 2.0;
    QLinearGradient glow(0, 0, 0, tray.bottom());
    glow.setColorAt(0.0, QColor(255, 200, 140, 0));
    glow.setColorAt(1.0, QColor(255, 200, 140, 22));
    painter.fillRect(QRectF(gap - 2, 0, 4, tray.bottom()), glow);
  }

  // The front rail the tiles lean on.
  const QRectF rail(0, 91, 503, 5);
  QLinearGradient rounded(0, rail.top(), 0, rail.bottom());
  rounded.setColorAt(0.0, QColor(255, 220, 170, 120));
  rounded.setColorAt(0.35, QColor(255, 220, 170, 40));
  rounded.setColorAt(1.0, QColor(0, 0, 0, 120));
  painter.fillRect(rail, rounded);

  // The band under the score and round lines: dark enough for pale yellow text.
  const QRectF band(0, 96, 503, 24);
  QLinearGradient dusk(0, band.top(), 0, band.bottom());
  dusk.setColorAt(0.0, QColor(0x1A, 0x0C, 0x04, 170));
  dusk.setColorAt(1.0, QColor(0x1A, 0x0C, 0x04, 130));
  painter.fillRect(band, dusk);
  painter.fillRect(QRectF(0, band.top(), 503, 1), QColor(0, 0, 0, 120));

  // A brass inlay in the middle of the band, between the two lines of text.
  painter.setRenderHint(QPainter::Antialiasing);
  const double mid_y = 108.5;
  QLinearGradient brass(130, 0, 373, 0);
  brass.setColorAt(0.0, QColor(0xC8, 0x9A, 0x40, 0));
  brass.setColorAt(0.3, QColor(0xC8, 0x9A, 0x40, 200));
  brass.setColorAt(0.7, QColor(0xC8, 0x9A, 0x40, 200));
  brass.setColorAt(1.0, QColor(0xC8, 0x9A, 0x40, 0));
  painter.fillRect(QRectF(130, mid_y - 0.5, 243, 1), brass);
  for (const double x : {236.0, 251.5, 267.0}) {
    const double r = x == 251.5 ? 4.0 : 2.5;
    QPainterPath diamond;
    diamond.moveTo(x, mid_y - r);
    diamond.lineTo(x + r, mid_y);
    diamond.lineTo(x, mid_y + r);
    diamond.lineTo(x - r, mid_y);
    diamond.closeSubpath();
    painter.fillPath(diamond.translated(0.7, 0.7), QColor(0, 0, 0, 120));
    painter.fillPath(diamond, QColor(0xD8, 0xAA, 0x4C));
  }

  // Rounded lower edge of the board.
  painter.fillRect(QRectF(0, 118, 503, 2), QColor(0, 0, 0, 90));
  return image;
}

QImage dice_backdrop(int scale) {
  const QSize size(505, 121);
  QImage image = canvas(size, QImage::Format_RGB32, scale);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);

  // Walnut rim round the cloth.
  painter.drawImage(0, 0, wood_texture(size, kWalnut, scale));
  const QRectF cloth(4, 4, 497, 113);
  painter.drawImage(cloth.topLeft(), felt_texture(cloth.size().toSize(), QColor(0x3F, 0x98, 0x4C), 5, scale));

  // Light from a lamp above the throwing area, falling off toward the rim.
  QRadialGradient lamp(QPointF(220, 48), 330);
  lamp.setColorAt(0.0, QColor(255, 255, 220, 34));
  lamp.setColorAt(0.45, QColor(255, 255, 220, 0));
  lamp.setColorAt(1.0, QColor(0, 0, 0, 70));
  painter.fillRect(cloth, lamp);

  QPainterPath cloth_path;
  cloth_path.addRect(cloth);
  inner_shadow(painter, cloth_path, 3, 140);
  raised_rim(painter, QRectF(0, 0, 505, 121), 4, 70, 120);
  pixel_frame(painter, QRect(0, 0, 505, 121), QColor(0x1A, 0x0E, 0x06));

  // A lighter cloth plaque behind SHUT TOTAL, edged with stitching.
  const QRectF plaque(10, 12, 90, 54);
  QPainterPath plaque_path;
  plaque_path.addRoundedRect(plaque, 8, 8);
  drop_shadow(painter, plaque_path, 1.5, 1.5, 60);
  painter.save();
  painter.setClipPath(plaque_path);
  painter.drawImage(plaque.topLeft(), felt_texture(plaque.size().toSize(), QColor(0x72, 0xC0, 0x74), 9, scale));
  painter.restore();
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(0x1F, 0x5A, 0x26, 170), 1.0, Qt::DashLine));
  painter.drawRoundedRect(plaque.adjusted(3, 3, -3, -3), 5.5, 5.5);
  painter.setPen(QPen(QColor(255, 255, 255, 60), 1.0));
  painter.drawRoundedRect(plaque.adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);

  // The game's name pressed into the cloth, above where the roll button sits.
  const QFont font = bold_font("Liberation Serif", 30);
  QPainterPath name = text_path("VELNOR", font);
  const QRectF name_bounds = name.boundingRect();
  name.translate(427 - name_bounds.center().x(), 36 - name_bounds.center().y());
  pressed_text(painter, name, QColor(0x2E, 0x78, 0x3A), QColor(0x6A, 0xB8, 0x6E, 150));
  QPainterPath solo = text_path("S  O  L  O", bold_font("Liberation Serif", 11));
  const QRectF solo_bounds = solo.boundingRect();
  solo.translate(427 - solo_bounds.center().x(), 55 - solo_bounds.center().y());
  pressed_text(painter, solo, QColor(0x2E, 0x78, 0x3A), QColor(0x6A, 0xB8, 0x6E, 150));
  return image;
}

QImage round_column(int scale) {
  const QSize size(123, 241);
  QImage image = canvas(size, QImage::Format_RGB888, scale);
  QPainter painter(&image);
  painter.drawImage(0, 0, wood_texture_vertical(size, kWalnut, scale));

  // Darker inner field, so the pale round numbers stand out.
  const QRectF field(5, 5, 113, 231);
  painter.fillRect(field, QColor(0x1A, 0x0C, 0x04, 120));
  QPainterPath field_path;
  field_path.addRect(field);
  inner_shadow(painter, field_path, 2.5, 150);
  raised_rim(painter, QRectF(0, 0, 123, 241), 5, 80, 130);
  pixel_frame(painter, QRect(0, 0, 123, 241), QColor(0x1A, 0x0E, 0x06));

  painter.setRenderHint(QPainter::Antialiasing);
  for (const int top : kRoundTops) {
    // A brass peg marking the row.
    const QPointF peg(28.5, top + 10.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 120));
    painter.drawEllipse(peg + QPointF(0.8, 1.0), 3.6, 3.6);
    QRadialGradient brass(peg - QPointF(1.3, 1.3), 5);
    brass.setColorAt(0.0, QColor(0xFF, 0xF0, 0xB8));
    brass.setColorAt(0.5, QColor(0xD2, 0xA0, 0x44));
    brass.setColorAt(1.0, QColor(0x6E, 0x4A, 0x16));
    painter.setBrush(brass);
    painter.drawEllipse(peg, 3.5, 3.5);

    // A cream slot for the round's score, sunk into the wood.
    const QRectF slot(80, top - 0.5, 31, 20);
    QPainterPath slot_path;
    slot_path.addRoundedRect(slot, 3, 3);
    painter.fillPath(slot_path.translated(0, 1), QColor(255, 220, 170, 45));
    QLinearGradient cream(0, slot.top(), 0, slot.bottom());
    cream.setColorAt(0.0, QColor(0xF3, 0xE6, 0xC4));
    cream.setColorAt(1.0, QColor(0xFB, 0xF3, 0xDC));
    painter.fillPath(slot_path, cream);
    inner_shadow(painter, slot_path, 2, 110);
  }
  return image;
}

QImage roll_button(int scale) {
  QImage image = canvas(QSize(102, 27), QImage::Format_RGB888, scale);
  QPainter painter(&image);
  QLinearGradient face(0, 0, 0, 27);
  face.setColorAt(0.0, QColor(0xFF, 0xFF, 0xE4));
  face.setColorAt(0.5, kPaleYellow);
  face.setColorAt(1.0, QColor(0xEC, 0xE8, 0xA8));
  painter.fillRect(0, 0, 102, 27, face);
  pixel_frame(painter, QRect(0, 0, 102, 27), kFrameGreen);

  painter.setRenderHint(QPainter::Antialiasing);
  // A small die, tilted as if rolling.
  painter.save();
  painter.translate(15.5, 13.5);
  painter.rotate(-14);
  draw_die_shadow(painter, QRectF(-8, -8, 16, 16));
  draw_die(painter, QRectF(-8, -8, 16, 16), 5);
  painter.restore();

  QPainterPath caption = text_path("ROLL DICE", bold_font("Liberation Sans", 13));
  const QRectF bounds = caption.boundingRect();
  caption.translate(std::round(62 - bounds.center().x()), std::round(13.5 - bounds.center().y()));
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(255, 255, 255, 160));
  painter.drawPath(caption.translated(0, 1));
  painter.setBrush(QColor(0x1F, 0x3F, 0x1F));
  painter.drawPath(caption);
  return image;
}

QImage logo(int scale) {
  QImage image = canvas(QSize(185, 32), QImage::Format_ARGB32, scale);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);

  painter.save();
  painter.translate(15, 16);
  painter.rotate(-12);
  draw_die_shadow(painter, QRectF(-11, -11, 22, 22));
  draw_die(painter, QRectF(-11, -11, 22, 22), 6);
  painter.restore();

  // "VELNOR" large and "SOLO" a touch smaller, sharing one baseline.
  QPainterPath lettering = text_path("VELNOR", bold_font("Liberation Serif", 25));
  QPainterPath solo = text_path("SOLO", bold_font("Liberation Serif", 19));
  solo.translate(lettering.boundingRect().right() + 6 - solo.boundingRect().left(), 0);
  lettering.addPath(solo);
  const QRectF bounds = lettering.boundingRect();
  const double left = 32;
  const double fit = std::min(1.0, (183 - left) / bounds.width());
  QTransform place;
  place.translate(left, 16 + bounds.height() * fit / 2);
  place.scale(fit, fit);
  place.translate(-bounds.left(), -bounds.bottom());
  lettering = place.map(lettering);

  drop_shadow(painter, lettering, 1.5, 1.0, 110);
  painter.setPen(QPen(QColor(0x2A, 0x14, 0x06), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(lettering);
  const QRectF lit = lettering.boundingRect();
  QLinearGradient gold(0, lit.top(), 0, lit.bottom());
  gold.setColorAt(0.0, QColor(0xFF, 0xFF, 0xDC));
  gold.setColorAt(0.45, kPaleYellow);
  gold.setColorAt(0.55, QColor(0xF2, 0xD2, 0x74));
  gold.setColorAt(1.0, QColor(0xC8, 0x90, 0x30));
  painter.setPen(Qt::NoPen);
  painter.setBrush(gold);
  painter.drawPath(lettering);
  return image;
}
