#include "boardpictures.h"

namespace velnor::testing {

namespace {

QImage picture(const QString& file) { return QImage(file).convertToFormat(QImage::Format_ARGB32); }

}  // namespace

BoardPictures::BoardPictures(const QString& assets)
    : roll(picture(assets + "/roll.png")), gameover(picture(assets + "/gameover.png")) {
  for (int n = 1; n <= 9; ++n) {
    const QImage strip = picture(QString("%1/tiles/tile%2.png").arg(assets).arg(n));
    for (int frame = 0; frame < 5; ++frame) tiles[n][frame] = strip.copy(frame * 48, 1, 48, 90);
  }
  const QImage dice = picture(assets + "/dice.png");
  for (int value = 1; value <= 6; ++value) faces[value] = dice.copy(value * 32, 0, 32, 32);
}

bool shows(const QImage& screen, QPoint at, const QImage& picture) {
  if (picture.isNull()) return false;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) {
      const QRgb want = picture.pixel(x, y);
      if (qAlpha(want) != 255) continue;
      const QPoint where = at + QPoint(x, y);
      if (!screen.rect().contains(where) || (screen.pixel(where) & RGB_MASK) != (want & RGB_MASK)) return false;
    }
  return true;
}

int count_colour(const QImage& screen, const QRect& area, QRgb colour) {
  int count = 0;
  const QRect inside = area.intersected(screen.rect());
  for (int y = inside.top(); y <= inside.bottom(); ++y)
    for (int x = inside.left(); x <= inside.right(); ++x) count += (screen.pixel(x, y) & RGB_MASK) == colour;
  return count;
}

}  // namespace velnor::testing
