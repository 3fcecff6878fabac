#include "timage.h"

#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QPixmap>

#include "game/jpegimage.h"

namespace velnor {

TImage::TImage(QWidget* parent) : QLabel(parent) {
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void TImage::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
}

void TImage::mouseReleaseEvent(QMouseEvent* event) {
  const bool clicked = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
  pressed_ = false;
  if (clicked) emit click(this);
}

QPixmap resource_picture(const QString& path) {
  if (!path.endsWith(".jpg", Qt::CaseInsensitive)) return QPixmap(path);
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return QPixmap();
  const QByteArray bytes = file.readAll();
  const RgbImage rgb = decode_jpeg(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                   static_cast<std::size_t>(bytes.size()));
  const QImage view(rgb.rgb.data(), rgb.width, rgb.height, rgb.width * 3, QImage::Format_RGB888);
  return QPixmap::fromImage(view.copy());
}

}  // namespace velnor
