#include "timage.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>
#include <QRectF>
#include <QResource>

#include <cstdint>
#include <future>
#include <map>
#include <optional>
#include <utility>

#include "windows/focusring.h"
#include "windows/jpegimage.h"
#include "windows/pngimage.h"

namespace velnor {

TImage::TImage(QWidget* parent) : QLabel(parent) { setAlignment(Qt::AlignLeft | Qt::AlignTop); }

void TImage::mousePressEvent(QMouseEvent* event) { pressed_ = event->button() == Qt::LeftButton; }

void TImage::mouseReleaseEvent(QMouseEvent* event) {
  const bool clicked = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressed_ = false;
  if (clicked) activate();
}

bool TImage::clickable() const { return isSignalConnected(QMetaMethod::fromSignal(&TImage::click)); }

void TImage::activate() { emit click(this); }

void TImage::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (clickable() && (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter))
    activate();
  else
    QLabel::keyPressEvent(event);
}

void TImage::paintEvent(QPaintEvent* event) {
  QLabel::paintEvent(event);
  if (!hasFocus()) return;
  QPainter painter(this);
  draw_focus_ring(painter, *this);
}

void TImage::connectNotify(const QMetaMethod& signal) {
  if (signal == QMetaMethod::fromSignal(&TImage::click)) setFocusPolicy(Qt::TabFocus);
}

namespace {

constexpr qreal kSharpRatio = 2;

// Where the twice-size drawing of a picture lies: "@2x" before the file's extension.
QString sharp_path(const QString& path) {
  const qsizetype dot = path.lastIndexOf('.');
  if (dot <= path.lastIndexOf('/')) return path + "@2x";
  return path.left(dot) + "@2x" + path.mid(dot);
}

// A picture file's bytes, read on the user-interface thread.
QByteArray file_bytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

// A resource picture's bytes, read on any thread: QResource is no QObject. (The first thread that
// makes a QObject becomes Qt's main thread, so a helper thread started before the application
// must never make one.)
QByteArray resource_bytes(const QString& path) { return QResource(path).uncompressedData(); }

// A picture decoded in a form any thread may make; null when the bytes are not a picture.
ArgbImage decode_picture(const QString& path, const QByteArray& bytes) {
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
  const auto size = static_cast<std::size_t>(bytes.size());
  try {
    return path.endsWith(".jpg", Qt::CaseInsensitive) ? decode_jpeg(data, size) : decode_png(data, size);
  } catch (const EPictureError&) {
    return {};  // a null picture, as a damaged file gives
  }
}

// The picture's pixels handed over to the QImage, which frees them.
QImage to_qimage(ArgbImage&& picture) {
  if (picture.pixels.empty()) return QImage();
  auto* pixels = new std::vector<std::uint32_t>(std::move(picture.pixels));
  return QImage(
      reinterpret_cast<uchar*>(pixels->data()), picture.width, picture.height, picture.width * 4,
      picture.has_alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32,
      [](void* owned) { delete static_cast<std::vector<std::uint32_t>*>(owned); }, pixels);
}

// Pictures being decoded on a helper thread, and those it has decoded that nobody took yet.
struct PicturesAhead {
  std::future<std::map<QString, ArgbImage>> pending;
  std::map<QString, ArgbImage> decoded;

  std::optional<ArgbImage> take(const QString& path) {
    if (pending.valid()) decoded = pending.get();
    const auto found = decoded.find(path);
    if (found == decoded.end()) return std::nullopt;
    ArgbImage picture = std::move(found->second);
    decoded.erase(found);
    return picture;
  }
};

PicturesAhead& pictures_ahead() {
  static PicturesAhead ahead;
  return ahead;
}

QImage read_picture(const QString& path) {
  std::optional<ArgbImage> ahead = pictures_ahead().take(path);
  return to_qimage(ahead ? std::move(*ahead) : decode_picture(path, file_bytes(path)));
}

}  // namespace

void decode_pictures_ahead(std::vector<QString> paths) {
  pictures_ahead().pending = std::async(std::launch::async, [paths = std::move(paths)] {
    std::map<QString, ArgbImage> decoded;
    for (const QString& path : paths) decoded.emplace(path, decode_picture(path, resource_bytes(path)));
    return decoded;
  });
}

void finish_pictures_ahead() {
  if (pictures_ahead().pending.valid()) pictures_ahead().pending.wait();
}

QPixmap resource_picture(const QString& path, qreal ratio) {
  const QString sharp = sharp_path(path);
  const bool use_sharp = ratio > 1 && QFile::exists(sharp);
  if (use_sharp) pictures_ahead().take(path);  // decoded ahead for nothing: let it go
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
