#include "htmlviewaccessible.h"

#include <QAccessibleWidget>
#include <QHash>
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

// The interfaces of a page's parts, made when first asked for, kept by their place and ended
// together.
class MadeOnDemand {
 public:
  MadeOnDemand() = default;
  MadeOnDemand(const MadeOnDemand&) = delete;
  MadeOnDemand& operator=(const MadeOnDemand&) = delete;
  ~MadeOnDemand() { clear(); }

  template <typename Make>
  QAccessibleInterface* get(int index, const Make& make) const {
    if (const auto made = made_.constFind(index); made != made_.cend()) return QAccessible::accessibleInterface(*made);
    QAccessibleInterface* part = make();
    made_.insert(index, QAccessible::registerAccessibleInterface(part));
    return part;
  }
  int index_of(const QAccessibleInterface* part) const {
    for (auto made = made_.cbegin(); made != made_.cend(); ++made)
      if (QAccessible::accessibleInterface(made.value()) == part) return made.key();
    return -1;
  }
  void clear() const {
    for (const QAccessible::Id id : std::as_const(made_)) QAccessible::deleteAccessibleInterface(id);
    made_.clear();
  }

 private:
  mutable QHash<int, QAccessible::Id> made_;
};

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
  TableAccessible(HtmlView* view, QAccessibleInterface* parent, QTextTable* table)
      : PagePart(view, parent), table_(table), rows_(table->rows()), columns_(table->columns()) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    return type == QAccessible::TableInterface ? static_cast<QAccessibleTableInterface*>(this) : nullptr;
  }
  QString text(QAccessible::Text) const override { return {}; }
  QAccessible::Role role() const override { return QAccessible::Table; }

  // A cell spanning several is read once, at its first row and column.
  QString cell_text(int row, int column) const {
    if (table_.isNull() || view_.isNull()) return {};
    const QTextTableCell cell = table_->cellAt(row, column);
    if (!cell.isValid() || cell.row() != row || cell.column() != column) return {};
    return text_between(view_->document(), cell.firstPosition(), cell.lastPosition());
  }

  int childCount() const override { return rows_ * columns_; }
  QAccessibleInterface* child(int index) const override {
    if (index < 0 || index >= childCount()) return nullptr;
    return cells_.get(index, [&] {
      return new CellAccessible(view_, const_cast<TableAccessible*>(this), index / columns_, index % columns_);
    });
  }
  int indexOfChild(const QAccessibleInterface* child) const override { return cells_.index_of(child); }

  QAccessibleInterface* cellAt(int row, int column) const override {
    return row < 0 || row >= rows_ || column < 0 || column >= columns_ ? nullptr : child(row * columns_ + column);
  }
  int columnCount() const override { return columns_; }
  int rowCount() const override { return rows_; }
  QString columnDescription(int column) const override { return cell_text(0, column); }
  QString rowDescription(int row) const override { return cell_text(row, 0); }

 private:
  QPointer<QTextTable> table_;
  int rows_;
  int columns_;
  // Made as a screen reader reaches them: a page's table can be far larger than anyone reads.
  MadeOnDemand cells_;
};

CellAccessible::CellAccessible(HtmlView* view, TableAccessible* table, int row, int column)
    : PagePart(view, table), table_(table), row_(row), column_(column), text_(table->cell_text(row, column)) {}

QList<QAccessibleInterface*> CellAccessible::columnHeaderCells() const { return {table_->cellAt(0, column_)}; }
QList<QAccessibleInterface*> CellAccessible::rowHeaderCells() const { return {table_->cellAt(row_, 0)}; }

// The page as its parts; read afresh whenever the view has loaded another page.
class HtmlViewAccessible : public QAccessibleWidget {
 public:
  explicit HtmlViewAccessible(HtmlView* view) : QAccessibleWidget(view, QAccessible::Document) {}

  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = true;
    return state;
  }

  int childCount() const override { return static_cast<int>(parts().size()); }
  QAccessibleInterface* child(int index) const override {
    const QList<Part>& read = parts();
    if (index < 0 || index >= read.size()) return nullptr;
    const Part& part = read[index];
    auto* self = const_cast<HtmlViewAccessible*>(this);
    return made_.get(index, [&]() -> QAccessibleInterface* {
      if (part.is_table && part.table != nullptr) return new TableAccessible(view(), self, part.table);
      return new ParagraphAccessible(view(), self, text_between(view()->document(), part.from, part.to));
    });
  }
  int indexOfChild(const QAccessibleInterface* child) const override { return made_.index_of(child); }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }

 private:
  // A paragraph of text, or a table of values; a table gone with its page reads as nothing.
  struct Part {
    int from = 0;
    int to = 0;
    QPointer<QTextTable> table;
    bool is_table = false;
  };

  HtmlView* view() const { return static_cast<HtmlView*>(widget()); }

  const QList<Part>& parts() const {
    if (page_ == view()->pages_loaded()) return parts_;
    made_.clear();
    parts_.clear();
    page_ = view()->pages_loaded();
    const QTextDocument* document = view()->document();
    for (auto it = document->rootFrame()->begin(); !it.atEnd(); ++it) {
      if (auto* table = qobject_cast<QTextTable*>(it.currentFrame())) {
        if (table->rows() >= kLeastRows && table->columns() >= kLeastColumns)
          parts_.append({table->firstPosition(), table->lastPosition(), table, true});
        else if (!text_between(document, table->firstPosition(), table->lastPosition()).isEmpty())
          parts_.append({table->firstPosition(), table->lastPosition(), nullptr, false});
      } else if (const QTextBlock block = it.currentBlock(); !block.text().trimmed().isEmpty()) {
        parts_.append({block.position(), block.position() + block.length() - 1, nullptr, false});
      }
    }
    return parts_;
  }

  mutable int page_ = -1;
  mutable QList<Part> parts_;
  MadeOnDemand made_;
};

}  // namespace

QAccessibleInterface* html_view_accessible(const QString&, QObject* object) {
  auto* view = qobject_cast<HtmlView*>(object);
  return view == nullptr ? nullptr : new HtmlViewAccessible(view);
}

}  // namespace velnor
