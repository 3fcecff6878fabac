#include "buttonaccessible.h"

#include "windows/timage.h"
#include "windows/tselbutton.h"

namespace velnor {

QStringList ButtonAccessible::actionNames() const {
  return QStringList{pressAction()} + QAccessibleWidget::actionNames();
}

void ButtonAccessible::doAction(const QString& action) {
  if (action == pressAction())
    press();
  else
    QAccessibleWidget::doAction(action);
}

namespace {

class SelButtonAccessible : public ButtonAccessible {
 public:
  explicit SelButtonAccessible(TSelButton* button) : ButtonAccessible(button) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) return button()->caption();
    return ButtonAccessible::text(t);
  }

  QAccessible::State state() const override {
    QAccessible::State state = ButtonAccessible::state();
    // The button's own switch silences it without greying it.
    if (!button()->buttonEnabled()) state.disabled = true;
    return state;
  }

 protected:
  void press() override { button()->activate(); }

 private:
  TSelButton* button() const { return static_cast<TSelButton*>(widget()); }
};

// Made as the picture is built, before anything is connected to its clicks: whether it is a
// button is asked each time.
class PictureAccessible : public ButtonAccessible {
 public:
  explicit PictureAccessible(TImage* picture) : ButtonAccessible(picture) {}

  QAccessible::Role role() const override {
    if (picture()->clickable()) return QAccessible::Button;
    return picture()->pixmap().isNull() ? QAccessible::StaticText : QAccessible::Graphic;
  }

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) return picture()->text();
    return ButtonAccessible::text(t);
  }

  QStringList actionNames() const override {
    return picture()->clickable() ? ButtonAccessible::actionNames() : QAccessibleWidget::actionNames();
  }

 protected:
  void press() override {
    if (picture()->clickable()) picture()->activate();
  }

 private:
  TImage* picture() const { return static_cast<TImage*>(widget()); }
};

}  // namespace

QAccessibleInterface* button_accessible(const QString&, QObject* object) {
  if (auto* button = qobject_cast<TSelButton*>(object)) return new SelButtonAccessible(button);
  if (auto* picture = qobject_cast<TImage*>(object)) return new PictureAccessible(picture);
  return nullptr;
}

}  // namespace velnor
