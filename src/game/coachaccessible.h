#pragma once

#include <QString>

class QAccessibleInterface;
class QObject;

namespace velnor {

// The factory (for QAccessible::installFactory) of the coach's rows as a screen reader reads
// them: a table named "Turns", a row a turn, its columns headed as on the screen (Round, Roll,
// You shut, Best, Cost), each cell the text it shows. Null for any other object.
QAccessibleInterface* coach_accessible(const QString& class_name, QObject* object);

}  // namespace velnor
