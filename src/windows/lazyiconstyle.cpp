#include "lazyiconstyle.h"

#include <QIconEngine>

namespace velnor {

namespace {

// An icon of a style, asked of it when first drawn or measured.
class StyleIconEngine : public QIconEngine {
 public:
  StyleIconEngine(const QStyle* style, QStyle::StandardPixmap which) : style_(style), which_(which) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    icon().paint(painter, rect, Qt::AlignCenter, mode, state);
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return icon().pixmap(size, mode, state);
  }
  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
    return icon().pixmap(size, scale, mode, state);
  }
  QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return icon().actualSize(size, mode, state);
  }
  QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
    return icon().availableSizes(mode, state);
  }
  QIconEngine* clone() const override { return new StyleIconEngine(style_, which_); }

 private:
  const QIcon& icon() {
    if (!made_) icon_ = style_->standardIcon(which_);
    made_ = true;
    return icon_;
  }

  const QStyle* style_;
  QStyle::StandardPixmap which_;
  QIcon icon_;
  bool made_ = false;
};

}  // namespace

QIcon LazyIconStyle::standardIcon(StandardPixmap which, const QStyleOption* option, const QWidget* widget) const {
  if (which == SP_ToolBarHorizontalExtensionButton || which == SP_ToolBarVerticalExtensionButton)
    return QIcon(new StyleIconEngine(baseStyle(), which));
  return QProxyStyle::standardIcon(which, option, widget);
}

}  // namespace velnor
