#include "coachaccessible.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QLabel>

#include "game/tcoach.h"
#include "windows/readonlytable.h"

namespace velnor {

namespace {

// The sheet of rows is named "rows"; its cells are the labels on it.
constexpr char kRows[] = "rows";
constexpr int kRollColumn = 1;

QAccessibleInterface* interface_of(QWidget* widget) {
  return widget == nullptr ? nullptr : QAccessible::queryAccessibleInterface(widget);
}

QList<QAccessibleInterface*> only(QWidget* widget) {
  QAccessibleInterface* found = interface_of(widget);
  return found == nullptr ? QList<QAccessibleInterface*>{} : QList<QAccessibleInterface*>{found};
}

class TurnsAccessible : public QAccessibleWidget, public ReadOnlyTable {
 public:
  TurnsAccessible(QWidget* sheet, const Tcoach& coach) : QAccessibleWidget(sheet, QAccessible::Table), coach_(coach) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name ? QCoreApplication::translate("velnor::Tcoach", "Turns") : QAccessibleWidget::text(t);
  }

  int childCount() const override { return rowCount() * columnCount(); }
  QAccessibleInterface* child(int index) const override {
    return index < 0 ? nullptr : cellAt(index / columnCount(), index % columnCount());
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    for (int index = 0; index < childCount(); ++index)
      if (this->child(index) == child) return index;
    return -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    for (int index = 0; index < childCount(); ++index)
      if (QAccessibleInterface* cell = child(index); cell != nullptr && cell->rect().contains(x, y)) return cell;
    return nullptr;
  }

  QAccessibleInterface* cellAt(int row, int column) const override { return interface_of(coach_.cell(row, column)); }
  int columnCount() const override { return static_cast<int>(Tcoach::column_headings().size()); }
  int rowCount() const override { return coach_.row_count(); }
  QString columnDescription(int column) const override { return Tcoach::column_headings().value(column); }
  QString rowDescription(int) const override { return {}; }

 private:
  const Tcoach& coach_;
};

class TurnCellAccessible : public QAccessibleWidget, public QAccessibleTableCellInterface {
 public:
  TurnCellAccessible(QLabel* label, const Tcoach& coach) : QAccessibleWidget(label, QAccessible::Cell), coach_(coach) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TableCellInterface) return static_cast<QAccessibleTableCellInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name ? static_cast<QLabel*>(widget())->text() : QAccessibleWidget::text(t);
  }

  bool isSelected() const override { return false; }
  // The headings above the rows head the columns; the roll heads its row (the round is written
  // only on a round's first row).
  QList<QAccessibleInterface*> columnHeaderCells() const override { return only(coach_.heading(columnIndex())); }
  QList<QAccessibleInterface*> rowHeaderCells() const override { return only(coach_.cell(rowIndex(), kRollColumn)); }
  int columnIndex() const override { return place().second; }
  int rowIndex() const override { return place().first; }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override { return interface_of(widget()->parentWidget()); }

 private:
  // The cell's row and column; the rows are made afresh at every turn, the cells with them.
  std::pair<int, int> place() const {
    for (int row = 0; row < coach_.row_count(); ++row)
      for (int column = 0; column < static_cast<int>(Tcoach::column_headings().size()); ++column)
        if (coach_.cell(row, column) == widget()) return {row, column};
    return {-1, -1};
  }

  const Tcoach& coach_;
};

}  // namespace

QAccessibleInterface* coach_accessible(const QString&, QObject* object) {
  auto* widget = qobject_cast<QWidget*>(object);
  if (widget == nullptr) return nullptr;
  const auto* coach = qobject_cast<const Tcoach*>(widget->window());
  if (coach == nullptr) return nullptr;
  if (widget->objectName() == kRows) return new TurnsAccessible(widget, *coach);
  auto* label = qobject_cast<QLabel*>(widget);
  if (label != nullptr && label->parentWidget() != nullptr && label->parentWidget()->objectName() == kRows)
    return new TurnCellAccessible(label, *coach);
  return nullptr;
}

}  // namespace velnor
