#pragma once

#include <QLabel>
#include <QRect>

#include <cstdint>

namespace velnor {

// A label placed as the forms place them: its own font, text colour and
// alignment, and no background of its own.
QLabel* make_label(QWidget* parent, const QString& name, const QString& text, const QRect& bounds,
                   const QFont& font, std::uint32_t color,
                   Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop);

}  // namespace velnor
