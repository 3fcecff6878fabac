#include "tbestmove.h"

#include <QPainter>
#include <QPainterPath>

namespace velnor {

namespace {

const QColor kMarkGold(0xFF, 0xC8, 0x28);
const QColor kMarkShade(0x3A, 0x22, 0x08, 200);

}  // namespace

TBestMoveMarks::TBestMoveMarks(QWidget* parent) : QWidget(parent) {
  setObjectName("bestmove_marks");
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
  hide();
}

void TBestMoveMarks::mark(const std::vector<QRect>& tiles) {
  tiles_.clear();
  if (tiles.empty()) {
    hide();
    return;
  }
  QRect area;
  for (const QRect& tile : tiles) area |= tile;
  setGeometry(area.adjusted(-2, -2, 2, 2));
  for (const QRect& tile : tiles) tiles_.push_back(tile.translated(-pos()));
  show();
  raise();
  update();
}

std::vector<QRect> TBestMoveMarks::marked() const {
  std::vector<QRect> places;
  for (const QRect& tile : tiles_) places.push_back(tile.translated(pos()));
  return places;
}

void TBestMoveMarks::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  for (const QRect& tile : tiles_) {
    // A frame round the face, dark then gold so that it reads on ivory and on wood alike, and a
    // pointer above the number.
    const QRectF face = QRectF(tile).adjusted(2.5, 2.5, -2.5, -2.5);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kMarkShade, 5));
    painter.drawRoundedRect(face, 5, 5);
    painter.setPen(QPen(kMarkGold, 3));
    painter.drawRoundedRect(face, 5, 5);
    QPainterPath pointer;
    const qreal middle = face.center().x();
    pointer.moveTo(middle - 8, face.top() + 4);
    pointer.lineTo(middle + 8, face.top() + 4);
    pointer.lineTo(middle, face.top() + 14);
    pointer.closeSubpath();
    painter.setPen(QPen(kMarkShade, 1.5));
    painter.setBrush(kMarkGold);
    painter.drawPath(pointer);
  }
}

}  // namespace velnor
