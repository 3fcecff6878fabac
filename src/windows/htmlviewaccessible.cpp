#include "htmlviewaccessible.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextTable>

#include "windows/htmlview.h"
#include "windows/readonlytable.h"

namespace velnor {

namespace {

// A table smaller than this lays a page out rather than holding values.
constexpr int kLeastRows = 2;
constexpr int kLeastColumns = 2;

// The text of a stretch of the page, its paragraphs on lines of their own.
QString text_between(const QTextDocument* document, int from, int to) {
  QTextCursor cursor(const_cast<QTextDocument*>(document));
  cursor.setPosition(from);
  cursor.setPosition(to, QTextCursor::KeepAnchor);
  return cursor.selection().toPlainText().trimmed();
}

// An object of the page without a widget of its own: it lasts as long as the page it was read
// from, and the view's interface ends it with the page.
class PagePart : public QAccessibleInterface {
 public:
  PagePart(HtmlView* view, QAccessibleInterface* parent) : view_(view), parent_(parent) {}

  bool isValid() const override { return !view_.isNull(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return parent_->window(); }
  QAccessibleInterface* parent() const override { return parent_; }
  QAccessibleInterface* child(int) const override { return nullptr; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override { return parent_->rect(); }
  QAccessible::State state() const override {
    QAccessible::State state;
    state.readOnly = true;
    return state;
  }

 protected:
  QPointer<HtmlView> view_;
  QAccessibleInterface* parent_;
};

class ParagraphAccessible : public PagePart {
 public:
  ParagraphAccessible(HtmlView* view, QAccessibleInterface* parent, const QString& text)
      : PagePart(view, parent), text_(text) {}

  QString text(QAccessible::Text t) const override { return t == QAccessible::Name ? text_ : QString(); }
  QAccessible::Role role() const override { return QAccessible::Paragraph; }

 private:
  QString text_;
};

class TableAccessible;

class CellAccessible : public PagePart, public QAccessibleTableCellInterface {
 public:
  CellAccessible(HtmlView* view, TableAccessible* table, int row, int column);

  void* interface_cast(QAccessible::InterfaceType type) override {
    return type == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface*>(this) : nullptr;
  }
  QString text(QAccessible::Text t) const override { return t == QAccessible::Name ? text_ : QString(); }
  QAccessible::Role role() const override {
    if (row_ == 0) return QAccessible::ColumnHeader;
    return column_ == 0 ? QAccessible::RowHeader : QAccessible::Cell;
  }

  bool isSelected() const override { return false; }
  QList<QAccessibleInterface*> columnHeaderCells() const override;
  QList<QAccessibleInterface*> rowHeaderCells() const override;
  int columnIndex() const override { return column_; }
  int rowIndex() const override { return row_; }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override { return parent_; }

 private:
  TableAccessible* table_;
  int row_;
  int column_;
  QString text_;
};

class TableAccessible : public PagePart, public ReadOnlyTable {
 public:
  TableAccessible(HtmlView* view, QAccessibleInterface* parent, const QTextTable* table)
      : PagePart(view, parent), rows_(table->rows()), columns_(table->columns()) {
    for (int row = 0; row < rows_; ++row)
      for (int column = 0; column < columns_; ++column) {
        const QTextTableCell cell = table->cellAt(row, column);
        // A cell spanning several columns is read once, at its first.
        texts_.append(cell.column() == column && cell.row() == row
                          ? text_between(view->document(), cell.firstPosition(), cell.lastPosition())
                          : QString());
      }
    for (int row = 0; row < rows_; ++row)
      for (int column = 0; column < columns_; ++column)
        cells_.append(QAccessible::registerAccessibleInterface(new CellAccessible(view, this, row, column)));
  }
  ~TableAccessible() override {
    for (const QAccessible::Id id : cells_) QAccessible::deleteAccessibleInterface(id);
  }

  void* interface_cast(QAccessible::InterfaceType type) override {
    return type == QAccessible::TableInterface ? static_cast<QAccessibleTableInterface*>(this) : nullptr;
  }
  QString text(QAccessible::Text) const override { return {}; }
  QAccessible::Role role() const override { return QAccessible::Table; }

  QString cell_text(int row, int column) const { return texts_.value(row * columns_ + column); }

  int childCount() const override { return static_cast<int>(cells_.size()); }
  QAccessibleInterface* child(int index) const override {
    return index < 0 || index >= cells_.size() ? nullptr : QAccessible::accessibleInterface(cells_[index]);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    for (int index = 0; index < cells_.size(); ++index)
      if (QAccessible::accessibleInterface(cells_[index]) == child) return index;
    return -1;
  }

  QAccessibleInterface* cellAt(int row, int column) const override {
    return row < 0 || row >= rows_ || column < 0 || column >= columns_ ? nullptr : child(row * columns_ + column);
  }
  int columnCount() const override { return columns_; }
  int rowCount() const override { return rows_; }
  QString columnDescription(int column) const override { return cell_text(0, column); }
  QString rowDescription(int row) const override { return cell_text(row, 0); }

 private:
  int rows_;
  int columns_;
  QStringList texts_;
  QList<QAccessible::Id> cells_;
};

CellAccessible::CellAccessible(HtmlView* view, TableAccessible* table, int row, int column)
    : PagePart(view, table), table_(table), row_(row), column_(column), text_(table->cell_text(row, column)) {}

QList<QAccessibleInterface*> CellAccessible::columnHeaderCells() const { return {table_->cellAt(0, column_)}; }
QList<QAccessibleInterface*> CellAccessible::rowHeaderCells() const { return {table_->cellAt(row_, 0)}; }

// The page as its parts; read afresh whenever the view has loaded another page.
class HtmlViewAccessible : public QAccessibleWidget {
 public:
  explicit HtmlViewAccessible(HtmlView* view) : QAccessibleWidget(view, QAccessible::Document) {}
  ~HtmlViewAccessible() override { forget_parts(); }

  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = true;
    return state;
  }

  int childCount() const override { return static_cast<int>(parts().size()); }
  QAccessibleInterface* child(int index) const override {
    const QList<QAccessible::Id>& read = parts();
    return index < 0 || index >= read.size() ? nullptr : QAccessible::accessibleInterface(read[index]);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    const QList<QAccessible::Id>& read = parts();
    for (int index = 0; index < read.size(); ++index)
      if (QAccessible::accessibleInterface(read[index]) == child) return index;
    return -1;
  }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }

 private:
  HtmlView* view() const { return static_cast<HtmlView*>(widget()); }

  const QList<QAccessible::Id>& parts() const {
    if (page_ == view()->pages_loaded()) return parts_;
    forget_parts();
    page_ = view()->pages_loaded();
    auto* self = const_cast<HtmlViewAccessible*>(this);
    QTextFrame* root = view()->document()->rootFrame();
    for (auto it = root->begin(); !it.atEnd(); ++it) {
      QAccessibleInterface* part = nullptr;
      if (auto* table = qobject_cast<QTextTable*>(it.currentFrame())) {
        if (table->rows() >= kLeastRows && table->columns() >= kLeastColumns)
          part = new TableAccessible(view(), self, table);
        else if (const QString text = text_between(view()->document(), table->firstPosition(), table->lastPosition());
                 !text.isEmpty())
          part = new ParagraphAccessible(view(), self, text);
      } else if (const QString text = it.currentBlock().text().trimmed(); !text.isEmpty()) {
        part = new ParagraphAccessible(view(), self, text);
      }
      if (part != nullptr) parts_.append(QAccessible::registerAccessibleInterface(part));
    }
    return parts_;
  }

  void forget_parts() const {
    for (const QAccessible::Id id : parts_) QAccessible::deleteAccessibleInterface(id);
    parts_.clear();
  }

  mutable int page_ = -1;
  mutable QList<QAccessible::Id> parts_;
};

}  // namespace

QAccessibleInterface* html_view_accessible(const QString&, QObject* object) {
  auto* view = qobject_cast<HtmlView*>(object);
  return view == nullptr ? nullptr : new HtmlViewAccessible(view);
}

}  // namespace velnor
