#pragma once

#include <QString>

class QAccessibleInterface;
class QObject;

namespace velnor {

// The factory (for QAccessible::installFactory) of the program's own windows, those built on a
// plain widget: each a frame named by its caption, as the main window is. Null for any other object.
QAccessibleInterface* window_accessible(const QString& class_name, QObject* object);

}  // namespace velnor
