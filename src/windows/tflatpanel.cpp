#include "tflatpanel.h"

#include "tcolor.h"

#include <QPainter>

namespace velnor {

namespace {

constexpr std::uint32_t kDefaultFrameColor = 8623776;  // #A09683

}  // namespace

TFlatPanel::TFlatPanel(QWidget* parent)
    : QWidget(parent),
      color_high_light_(kDefaultFrameColor),
      color_shadow_(kDefaultFrameColor),
      color_(clBtnFace),
      font_color_(clBlack) {
  // Opaque until told otherwise: the panel covers its whole client area itself.
  setAttribute(Qt::WA_OpaquePaintEvent, true);
  setGeometry(0, 0, 185, 41);
}

void TFlatPanel::setTransparent(bool transparent) {
  transparent_ = transparent;
  setAttribute(Qt::WA_OpaquePaintEvent, !transparent);
  update();
}

void TFlatPanel::setColorHighLight(std::uint32_t color) {
  color_high_light_ = color;
  update();
}

void TFlatPanel::setColorShadow(std::uint32_t color) {
  color_shadow_ = color;
  update();
}

void TFlatPanel::setColor(std::uint32_t color) {
  color_ = color;
  parent_color_ = false;
  color_changed();
}

void TFlatPanel::setParentColor(bool parent_color) {
  parent_color_ = parent_color;
  color_changed();
}

void TFlatPanel::setCaption(const QString& caption) {
  caption_ = caption;
  update();
}

void TFlatPanel::setAlignment(TAlignment alignment) {
  alignment_ = alignment;
  update();
}

void TFlatPanel::setFontColor(std::uint32_t color) {
  font_color_ = color;
  update();
}

QColor TFlatPanel::effective_color() const {
  const QWidget* parent = parentWidget();
  if (!parent_color_ || parent == nullptr) return tcolor(color_);
  if (const auto* panel = qobject_cast<const TFlatPanel*>(parent)) return panel->effective_color();
  return parent->palette().color(QPalette::Window);
}

void TFlatPanel::color_changed() {
  update();
  // Qt does not repaint opaque children with their parent; those that show
  // this colour must be told.
  for (TFlatPanel* child : findChildren<TFlatPanel*>(Qt::FindDirectChildrenOnly))
    if (child->parent_color_) child->color_changed();
}

void TFlatPanel::paintEvent(QPaintEvent*) {
  const int w = width();
  const int h = height();
  if (w <= 0 || h <= 0) return;

  // Straight onto the panel: Qt draws a window's widgets into its back buffer and puts that on the
  // screen in one copy, so nothing flickers. A transparent panel leaves its parent's picture,
  // already drawn beneath, showing through.
  QPainter painter(this);
  if (!transparent_) painter.fillRect(rect(), effective_color());
  const QColor high_light = tcolor(color_high_light_);
  const QColor shadow = tcolor(color_shadow_);
  painter.fillRect(0, 0, w - 1, 1, high_light);
  painter.fillRect(0, 0, 1, h - 1, high_light);
  painter.fillRect(w - 1, 0, 1, h, shadow);
  painter.fillRect(0, h - 1, w, 1, shadow);

  if (!caption_.isEmpty()) {
    const QRect text_rect(1, 1, w - 2, h - 2);
    int flags = Qt::TextSingleLine | Qt::TextShowMnemonic | Qt::AlignVCenter;
    switch (alignment_) {
      case TAlignment::taLeftJustify:
        flags |= Qt::AlignLeft;
        break;
      case TAlignment::taRightJustify:
        flags |= Qt::AlignRight;
        break;
      case TAlignment::taCenter:
        flags |= Qt::AlignHCenter;
        break;
    }
    painter.setFont(font());
    if (isEnabled()) {
      painter.setPen(tcolor(font_color_));
      painter.drawText(text_rect, flags, caption_);
    } else {
      // Engraved: a highlight copy one pixel down and right, the shadow copy in place.
      painter.setPen(tcolor(clBtnHighlight));
      painter.drawText(text_rect.translated(1, 1), flags, caption_);
      painter.setPen(tcolor(clBtnShadow));
      painter.drawText(text_rect, flags, caption_);
    }
  }
}

}  // namespace velnor
