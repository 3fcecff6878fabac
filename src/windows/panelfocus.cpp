#include "panelfocus.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace velnor {

namespace {

class FocusReturn : public QObject {
 public:
  FocusReturn(QWidget* panel, QWidget* home) : QObject(panel), panel_(panel), home_(home) {
    panel->installEventFilter(this);
  }

  bool eventFilter(QObject*, QEvent* event) override {
    // A minimised window hides its children spontaneously; they come back with the focus they had.
    if (event->type() == QEvent::Hide && !event->spontaneous()) {
      const QWidget* focus = QApplication::focusWidget();
      if (focus != nullptr && panel_->isAncestorOf(focus)) home_->setFocus(Qt::OtherFocusReason);
    }
    return false;
  }

 private:
  QWidget* panel_;
  QWidget* home_;
};

bool takes_tab(const QWidget* widget) {
  return (widget->focusPolicy() & Qt::TabFocus) && widget->isVisible() && widget->isEnabled();
}

}  // namespace

void return_focus_on_hide(QWidget* panel, QWidget* home) { new FocusReturn(panel, home); }

bool keep_focus_within(QWidget* panel, bool next) {
  if (!panel->isVisible()) return false;
  QWidget* const start = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : panel;
  QWidget* candidate = start;
  do {
    candidate = next ? candidate->nextInFocusChain() : candidate->previousInFocusChain();
    if (panel->isAncestorOf(candidate) && takes_tab(candidate)) {
      candidate->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
      return true;
    }
  } while (candidate != start);
  return false;
}

}  // namespace velnor
