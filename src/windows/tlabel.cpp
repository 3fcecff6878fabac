#include "tlabel.h"

#include <QPalette>

#include "windows/tcolor.h"

namespace velnor {

QLabel* make_label(QWidget* parent, const QString& name, const QString& text, const QRect& bounds,
                   const QFont& font, std::uint32_t color, Qt::Alignment alignment) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setGeometry(bounds);
  label->setFont(font);
  label->setAlignment(alignment);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, tcolor(color));
  label->setPalette(palette);
  return label;
}

}  // namespace velnor
