#pragma once

#include <QLabel>
#include <QRect>

#include <cstdint>

namespace velnor {

class TFlatPanel;
class TImage;
class TSelButton;

// Controls placed as the windows' forms place them, so every window builds
// them the same way.

// A label with its own font, text colour and alignment, and no background.
QLabel* make_label(QWidget* parent, const QString& name, const QString& text, const QRect& bounds, const QFont& font,
                   std::uint32_t color, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop);

// A label that opens a page when clicked: a picture control showing text, so
// that it clicks as the pictures do.
TImage* make_link_label(QWidget* parent, const QString& name, const QString& text, const QRect& bounds,
                        const QFont& font, std::uint32_t color);

// A flat panel in its parent's colour with a one-colour frame and no caption.
TFlatPanel* make_panel(QWidget* parent, const QString& name, const QRect& bounds, bool transparent,
                       std::uint32_t frame);

// A push button in the game's style.
TSelButton* make_button(QWidget* parent, const QString& name, const QString& caption, const QRect& bounds,
                        int font_height = -16);

// A picture from the program's resources.
TImage* make_picture(QWidget* parent, const QString& name, const QRect& bounds, const QString& resource);

// Lets Escape close (hide) a secondary window, as players expect of a desktop game.
void hide_on_escape(QWidget* window);

// Shows a secondary window without modality, or brings the one window forward.
void show_window(QWidget* window);

// The colour a window or control paints its background with.
void set_window_color(QWidget* widget, std::uint32_t color);

}  // namespace velnor
