#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class QAccessibleInterface;
class QLabel;
class QWidget;

namespace velnor {

// Labels laid out as a grid on one sheet, which a screen reader reads as a table: a cell a label,
// each row headed by its first label (a rank, a round's number), each column by a heading. The
// sheet holds nothing else that a screen reader needs: its other children are not read.
class LabelTable : public QObject {
  Q_OBJECT

 public:
  // column_headings name every column, the row headings' first.
  LabelTable(QWidget* sheet, const QString& name, const QStringList& column_headings);

  // A row: its heading, then its cells, as many as the other columns.
  void add_row(QLabel* heading, const QList<QLabel*>& cells);

  // The table laid on that sheet; null when none is.
  static const LabelTable* on(const QWidget* sheet);

  const QString& name() const { return name_; }
  const QStringList& column_headings() const { return column_headings_; }
  int row_count() const { return static_cast<int>(rows_.size()); }
  int column_count() const { return static_cast<int>(column_headings_.size()); }
  QLabel* cell(int row, int column) const;
  // The row and column of that label; {-1, -1} when it is no cell of the table.
  std::pair<int, int> place(const QWidget* label) const;

 private:
  QString name_;
  QStringList column_headings_;
  QList<QList<QLabel*>> rows_;  // each row's heading first
};

// A column's heading as a screen reader reads it: a header object of the table, which shows
// nothing of its own. The table that makes it keeps it, and ends it with itself.
QAccessibleInterface* make_column_heading(QWidget* sheet, const QString& text);

// The factory (for QAccessible::installFactory) of the label tables: the sheet a table, its
// labels the table's cells; null for any other object.
QAccessibleInterface* label_table_accessible(const QString& class_name, QObject* object);

}  // namespace velnor
