#include "labeltable.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QPointer>
#include <QWidget>

#include "windows/readonlytable.h"

namespace velnor {

LabelTable::LabelTable(QWidget* sheet, const QString& name, const QStringList& column_headings)
    : QObject(sheet), name_(name), column_headings_(column_headings) {
  setObjectName("label_table");
}

void LabelTable::add_row(QLabel* heading, const QList<QLabel*>& cells) {
  rows_.append(QList<QLabel*>{heading} + cells);
}

const LabelTable* LabelTable::on(const QWidget* sheet) {
  return sheet == nullptr ? nullptr : sheet->findChild<LabelTable*>("label_table", Qt::FindDirectChildrenOnly);
}

QLabel* LabelTable::cell(int row, int column) const {
  if (row < 0 || row >= row_count() || column < 0 || column >= rows_[row].size()) return nullptr;
  return rows_[row][column];
}

std::pair<int, int> LabelTable::place(const QWidget* label) const {
  for (int row = 0; row < row_count(); ++row)
    if (const qsizetype column = rows_[row].indexOf(label); column >= 0) return {row, static_cast<int>(column)};
  return {-1, -1};
}

namespace {

QAccessibleInterface* interface_of(QWidget* widget) {
  return widget == nullptr ? nullptr : QAccessible::queryAccessibleInterface(widget);
}

class HeadingAccessible : public QAccessibleInterface {
 public:
  HeadingAccessible(QWidget* sheet, const QString& text) : sheet_(sheet), text_(text) {}

  bool isValid() const override { return !sheet_.isNull(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return sheet_.isNull() ? nullptr : interface_of(sheet_)->window(); }
  QAccessibleInterface* parent() const override { return interface_of(sheet_); }
  QAccessibleInterface* child(int) const override { return nullptr; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QString text(QAccessible::Text t) const override { return t == QAccessible::Name ? text_ : QString(); }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override { return {}; }
  QAccessible::Role role() const override { return QAccessible::ColumnHeader; }
  QAccessible::State state() const override { return {}; }

 private:
  QPointer<QWidget> sheet_;
  QString text_;
};

class LabelTableAccessible : public QAccessibleWidget, public ReadOnlyTable {
 public:
  LabelTableAccessible(QWidget* sheet, const LabelTable& table)
      : QAccessibleWidget(sheet, QAccessible::Table), table_(table) {
    for (const QString& heading : table.column_headings())
      headings_.append(QAccessible::registerAccessibleInterface(make_column_heading(sheet, heading)));
  }
  ~LabelTableAccessible() override {
    for (const QAccessible::Id id : headings_) QAccessible::deleteAccessibleInterface(id);
  }

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name ? table_.name() : QAccessibleWidget::text(t);
  }

  int childCount() const override { return rowCount() * columnCount(); }
  QAccessibleInterface* child(int index) const override {
    return index < 0 ? nullptr : cellAt(index / columnCount(), index % columnCount());
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    const auto [row, column] = table_.place(child == nullptr ? nullptr : qobject_cast<QWidget*>(child->object()));
    return row < 0 ? -1 : row * columnCount() + column;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    for (int index = 0; index < childCount(); ++index)
      if (QAccessibleInterface* cell = child(index); cell != nullptr && cell->rect().contains(x, y)) return cell;
    return nullptr;
  }

  QAccessibleInterface* cellAt(int row, int column) const override { return interface_of(table_.cell(row, column)); }
  int columnCount() const override { return table_.column_count(); }
  int rowCount() const override { return table_.row_count(); }
  QString columnDescription(int column) const override { return table_.column_headings().value(column); }
  QString rowDescription(int row) const override {
    const QLabel* heading = table_.cell(row, 0);
    return heading == nullptr ? QString() : heading->text();
  }

  // The column's heading, for its cells.
  QAccessibleInterface* heading(int column) const {
    return column < 0 || column >= headings_.size() ? nullptr : QAccessible::accessibleInterface(headings_[column]);
  }

 private:
  const LabelTable& table_;
  QList<QAccessible::Id> headings_;
};

class LabelCellAccessible : public QAccessibleWidget, public QAccessibleTableCellInterface {
 public:
  LabelCellAccessible(QLabel* label, const LabelTable& table)
      : QAccessibleWidget(label, QAccessible::Cell), table_(table) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TableCellInterface) return static_cast<QAccessibleTableCellInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  QAccessible::Role role() const override { return columnIndex() == 0 ? QAccessible::RowHeader : QAccessible::Cell; }
  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name ? static_cast<QLabel*>(widget())->text() : QAccessibleWidget::text(t);
  }

  bool isSelected() const override { return false; }
  QList<QAccessibleInterface*> columnHeaderCells() const override {
    auto* sheet = dynamic_cast<LabelTableAccessible*>(table());
    QAccessibleInterface* heading = sheet == nullptr ? nullptr : sheet->heading(columnIndex());
    return heading == nullptr ? QList<QAccessibleInterface*>{} : QList<QAccessibleInterface*>{heading};
  }
  QList<QAccessibleInterface*> rowHeaderCells() const override {
    QAccessibleInterface* heading = interface_of(table_.cell(rowIndex(), 0));
    return heading == nullptr ? QList<QAccessibleInterface*>{} : QList<QAccessibleInterface*>{heading};
  }
  int columnIndex() const override { return table_.place(widget()).second; }
  int rowIndex() const override { return table_.place(widget()).first; }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override { return interface_of(widget()->parentWidget()); }

 private:
  const LabelTable& table_;
};

}  // namespace

QAccessibleInterface* make_column_heading(QWidget* sheet, const QString& text) {
  return new HeadingAccessible(sheet, text);
}

QAccessibleInterface* label_table_accessible(const QString&, QObject* object) {
  auto* widget = qobject_cast<QWidget*>(object);
  if (widget == nullptr) return nullptr;
  if (const LabelTable* table = LabelTable::on(widget)) return new LabelTableAccessible(widget, *table);
  auto* label = qobject_cast<QLabel*>(widget);
  if (label == nullptr) return nullptr;
  // Asked for as the label is made, before its row is added: its place is looked up each time.
  const LabelTable* table = LabelTable::on(label->parentWidget());
  return table == nullptr ? nullptr : new LabelCellAccessible(label, *table);
}

}  // namespace velnor
