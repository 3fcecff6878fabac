#include "timage.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMouseEvent>
#include <QRectF>

#include <cstdint>
#include <utility>

#include "windows/jpegimage.h"

namespace velnor {

TImage::TImage(QWidget* parent) : QLabel(parent) { setAlignment(Qt::AlignLeft | Qt::AlignTop); }

void TImage::mousePressEvent(QMouseEvent* event) { pressed_ = event->button() == Qt::LeftButton; }

void TImage::mouseReleaseEvent(QMouseEvent* event) {
  const bool clicked = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressed_ = false;
  if (clicked) emit click(this);
}

namespace {

constexpr qreal kSharpRatio = 2;

// Where the twice-size drawing of a picture lies: "@2x" before the file's extension.
QString sharp_path(const QString& path) {
  const qsizetype dot = path.lastIndexOf('.');
  if (dot <= path.lastIndexOf('/')) return path + "@2x";
  return path.left(dot) + "@2x" + path.mid(dot);
}

QImage read_picture(const QString& path) {
  if (!path.endsWith(".jpg", Qt::CaseInsensitive)) return QImage(path);
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return QImage();
  const QByteArray bytes = file.readAll();
  const RgbImage rgb =
      decode_jpeg(reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size()));
  const QImage view(rgb.rgb.data(), rgb.width, rgb.height, rgb.width * 3, QImage::Format_RGB888);
  return view.copy();
}

}  // namespace

QPixmap resource_picture(const QString& path, qreal ratio) {
  const QString sharp = sharp_path(path);
  const bool use_sharp = ratio > 1 && QFile::exists(sharp);
  QImage image = read_picture(use_sharp ? sharp : path);
  image.setDevicePixelRatio(use_sharp ? kSharpRatio : 1);
  return QPixmap::fromImage(std::move(image));
}

QPixmap resource_picture(const QString& path) { return resource_picture(path, qGuiApp->devicePixelRatio()); }

QIcon resource_icon(const QString& path, qreal ratio) {
  QIcon icon;
  const QPixmap picture = resource_picture(path, 1);
  for (int side = 32; side < picture.width(); side *= 2)
    icon.addPixmap(picture.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation));
  icon.addPixmap(picture);
  if (ratio >= kSharpRatio) icon.addPixmap(resource_picture(path, kSharpRatio));
  return icon;
}

QPixmap picture_part(const QPixmap& picture, const QRect& rect) {
  const qreal ratio = picture.devicePixelRatio();
  QPixmap part = picture.copy(QRectF(QPointF(rect.topLeft()) * ratio, QSizeF(rect.size()) * ratio).toRect());
  part.setDevicePixelRatio(ratio);
  return part;
}

}  // namespace velnor
