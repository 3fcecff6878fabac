#pragma once

#include "talignment.h"

#include <QFont>
#include <QString>
#include <QWidget>

#include <cstdint>

namespace velnor {

// A flat push button that paints itself: a face, a caption and a frame of
// one-pixel rings, in three looks (normal, pointer over it, pressed). Tab reaches it
// (a click leaves the keyboard where it was), the focus ring marks it, and Space or
// Enter presses it.
// A look change is recorded and drawn at once with repaint(); any other paint
// draws the normal look, so the button never remembers which look is showing.
class TSelButton : public QWidget {
  Q_OBJECT

 public:
  explicit TSelButton(QWidget* parent = nullptr);

  void setCaption(const QString& caption);
  QString caption() const { return caption_; }
  void setColor(std::uint32_t color);
  void setColorBorder(std::uint32_t color);
  void setColorOver(std::uint32_t color) { color_over_ = color; }
  void setColorDown(std::uint32_t color) { color_down_ = color; }
  void setColorOverCaption(std::uint32_t color) { color_over_caption_ = color; }
  // The colour of the font: the caption colour of the normal look.
  void setFontColor(std::uint32_t color);
  void setAlignment(TAlignment alignment);
  TAlignment alignment() const { return alignment_; }
  void setBorderWidth(int width);
  // The button's own switch; unlike QWidget::setEnabled it leaves the look alone
  // and only silences the pointer looks and the events.
  void setButtonEnabled(bool enabled) { button_enabled_ = enabled; }
  bool buttonEnabled() const { return button_enabled_; }
  void setTag(int tag) { tag_ = tag; }
  int tag() const { return tag_; }
  void setHint(const QString& hint) { hint_ = hint; }
  QString hint() const { return hint_; }
  // Does what a click does: the keys and a screen reader press the button with it.
  void activate();

 signals:
  void mouseDown(velnor::TSelButton* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
  void mouseUp(velnor::TSelButton* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
  void click(velnor::TSelButton* sender);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  enum class Look { normal, over, pressed };

  void show_look(Look look);
  void pointer_entered();
  void pointer_left();
  void press(QMouseEvent* event);
  void on_click();

  QString caption_;
  std::uint32_t color_;
  std::uint32_t color_border_;
  std::uint32_t color_over_;
  std::uint32_t color_down_;
  std::uint32_t color_over_caption_;
  std::uint32_t font_color_;
  TAlignment alignment_ = TAlignment::taLeftJustify;
  int border_width_ = 1;
  bool button_enabled_ = true;
  int tag_ = 0;
  QString hint_;

  // The look the next paint draws; anything but a look change paints normal.
  Look look_ = Look::normal;
  // Whether the pointer was last seen over the button.
  bool pointer_inside_ = false;
  // A left press seen as a single press: its release over the button clicks.
  bool click_pending_ = false;
  // What the drawing surface holds between looks: the over look reuses the font
  // of the last normal paint, the pressed look the text colour of the last look.
  QFont drawing_font_;
  std::uint32_t text_color_;
};

// The game's button style: pale yellow face, dark green frame, dark grey bold
// caption that turns dark green under the pointer. font_height is in pixels,
// given negative (-13 on the small buttons, -16 elsewhere).
void apply_game_style(TSelButton& button, int font_height);

}  // namespace velnor
