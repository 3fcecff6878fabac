#include "windowaccessible.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace velnor {

QAccessibleInterface* window_accessible(const QString&, QObject* object) {
  auto* widget = qobject_cast<QWidget*>(object);
  // A window of ours made straight from a plain widget would otherwise read as a filler; Qt's own
  // windows (menus, dialogs, the main window) have interfaces of their own.
  if (widget == nullptr || !widget->isWindow() || widget->metaObject()->superClass() != &QWidget::staticMetaObject ||
      !QLatin1String(widget->metaObject()->className()).startsWith(QLatin1String("velnor::")))
    return nullptr;
  return new QAccessibleWidget(widget, QAccessible::Window);
}

}  // namespace velnor
