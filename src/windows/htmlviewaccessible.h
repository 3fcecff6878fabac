#pragma once

#include <QString>

class QAccessibleInterface;
class QObject;

namespace velnor {

// The factory (for QAccessible::installFactory) of the HTML views: a page read as its paragraphs
// and its tables, each table of two rows and columns or more a table whose first row heads the
// columns and whose first column heads the rows, a cell per value. Null for any other object.
QAccessibleInterface* html_view_accessible(const QString& class_name, QObject* object);

}  // namespace velnor
