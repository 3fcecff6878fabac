#include "tlbbackground.h"

#include <QEvent>
#include <QPainter>

namespace velnor {

TLbBackground::TLbBackground(QWidget* owner) : QObject(owner), owner_(owner) {
  if (owner_ != nullptr) owner_->installEventFilter(this);
}

void TLbBackground::setEnabled(bool enabled) {
  enabled_ = enabled;
  if (owner_ != nullptr) owner_->update();
}

void TLbBackground::setImage(const QImage& image) {
  image_ = QPixmap::fromImage(image);
  if (owner_ != nullptr) owner_->update();
}

bool TLbBackground::eventFilter(QObject* watched, QEvent* event) {
  if (watched == owner_ && event->type() == QEvent::Paint) tile();
  // The window paints itself afterwards, over the tiles.
  return false;
}

void TLbBackground::tile() {
  const int w = image_.width();
  const int h = image_.height();
  if (!enabled_ || w <= 0 || h <= 0) return;
  // Counted on the window's outer size, so the last tiles run past the client
  // area and are clipped.
  const QSize outer = owner_->frameGeometry().size();
  const int columns = outer.width() / w + 2;
  const int rows = outer.height() / h + 2;
  // One tiled draw puts down the same columns x rows copies as drawing each
  // tile in turn, without a draw call per tile for small pictures.
  QPainter painter(owner_);
  painter.drawTiledPixmap(QRect(0, 0, columns * w, rows * h), image_);
}

}  // namespace velnor
