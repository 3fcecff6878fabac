#include "formcontrols.h"

#include <QKeyEvent>
#include <QPalette>

#include "windows/tcolor.h"
#include "windows/tflatpanel.h"
#include "windows/timage.h"
#include "windows/tselbutton.h"

namespace velnor {

QLabel* make_label(QWidget* parent, const QString& name, const QString& text, const QRect& bounds, const QFont& font,
                   std::uint32_t color, Qt::Alignment alignment) {
  auto* label = new QLabel(text, parent);
  // Captions are text, never markup: some show the player's name, which may hold anything.
  label->setTextFormat(Qt::PlainText);
  label->setObjectName(name);
  label->setGeometry(bounds);
  label->setFont(font);
  label->setAlignment(alignment);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, tcolor(color));
  label->setPalette(palette);
  return label;
}

TImage* make_link_label(QWidget* parent, const QString& name, const QString& text, const QRect& bounds,
                        const QFont& font, std::uint32_t color) {
  auto* label = new TImage(parent);
  label->setObjectName(name);
  label->setGeometry(bounds);
  label->setText(text);
  label->setFont(font);
  label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  label->setWordWrap(true);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, tcolor(color));
  label->setPalette(palette);
  label->setCursor(Qt::PointingHandCursor);
  return label;
}

TFlatPanel* make_panel(QWidget* parent, const QString& name, const QRect& bounds, bool transparent,
                       std::uint32_t frame) {
  auto* panel = new TFlatPanel(parent);
  panel->setObjectName(name);
  panel->setGeometry(bounds);
  panel->setTransparent(transparent);
  panel->setColorHighLight(frame);
  panel->setColorShadow(frame);
  panel->setCaption(QString());
  return panel;
}

TSelButton* make_button(QWidget* parent, const QString& name, const QString& caption, const QRect& bounds,
                        int font_height) {
  auto* button = new TSelButton(parent);
  button->setObjectName(name);
  apply_game_style(*button, font_height);
  button->setCaption(caption);
  button->setGeometry(bounds);
  return button;
}

TImage* make_picture(QWidget* parent, const QString& name, const QRect& bounds, const QString& resource) {
  auto* picture = new TImage(parent);
  picture->setObjectName(name);
  picture->setGeometry(bounds);
  picture->setPixmap(resource_picture(resource));
  return picture;
}

namespace {

class EscapeHides : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
      static_cast<QWidget*>(watched)->hide();
      return true;
    }
    return false;
  }
};

}  // namespace

void hide_on_escape(QWidget* window) { window->installEventFilter(new EscapeHides(window)); }

void show_window(QWidget* window) {
  if (window == nullptr) return;
  window->show();
  window->raise();
  window->activateWindow();
}

void set_window_color(QWidget* widget, std::uint32_t color) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, tcolor(color));
  widget->setPalette(palette);
}

}  // namespace velnor
