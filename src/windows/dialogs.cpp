#include "dialogs.h"

#include <QMessageBox>

namespace velnor {

namespace {

const QString kTitle = QStringLiteral("Velnor Solo");

// A box belongs to its owner's window only while that window is on the screen: a window
// manager keeps the box of a window not yet shown (a file that could not be read at start)
// hidden with it, and the program would wait, unseen, for an answer.
QWidget* shown_owner(QWidget* owner) { return owner != nullptr && owner->window()->isVisible() ? owner : nullptr; }

}  // namespace

void MessageBoxDialogs::message(QWidget* owner, const QString& text) {
  QMessageBox::information(shown_owner(owner), kTitle, text);
}

void MessageBoxDialogs::error(QWidget* owner, const QString& text) {
  QMessageBox::critical(shown_owner(owner), kTitle, error_box_text(text));
}

bool MessageBoxDialogs::ask_yes_no(QWidget* owner, const QString& text) {
  return QMessageBox::question(shown_owner(owner), kTitle, text, QMessageBox::Yes | QMessageBox::No) ==
         QMessageBox::Yes;
}

QString error_box_text(const QString& text) {
  if (!text.isEmpty() && text.back() > QChar('.')) return text + '.';
  return text;
}

}  // namespace velnor
