#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

namespace velnor::testing {

// The game's pictures as it draws them, read from the source tree's assets.
struct BoardPictures {
  static constexpr int kOpenFrame = 0;
  static constexpr int kShutFrame = 4;

  explicit BoardPictures(const QString& assets);

  QImage tiles[10][5];  // tile n's frames, without the top row (see BoardLayout)
  QImage faces[7];      // the dice faces 1 to 6
  QImage roll;
  QImage gameover;
};

// True when every opaque pixel of the picture shows unchanged on the screen at the place given.
bool shows(const QImage& screen, QPoint at, const QImage& picture);

// How many pixels of the area have exactly that colour (0xRRGGBB).
int count_colour(const QImage& screen, const QRect& area, QRgb colour);

}  // namespace velnor::testing
