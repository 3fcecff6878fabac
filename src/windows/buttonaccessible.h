#pragma once

#include <QAccessibleWidget>
#include <QString>

class QObject;

namespace velnor {

// A control that a screen reader meets as a push button: Press does what a click does, and
// Tab's focus action is kept.
class ButtonAccessible : public QAccessibleWidget {
 public:
  explicit ButtonAccessible(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Button) {}

  QStringList actionNames() const override;
  void doAction(const QString& action) override;

 protected:
  virtual void press() = 0;
};

// The factory (for QAccessible::installFactory) of the windows' own buttons: the flat push
// buttons, named by their caption, and the pictures, buttons while something answers their
// clicks, named by the name their window gives them (or the text they show); null for any other
// object.
QAccessibleInterface* button_accessible(const QString& class_name, QObject* object);

}  // namespace velnor
