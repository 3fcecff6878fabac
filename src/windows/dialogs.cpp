#include "dialogs.h"

#include <QMessageBox>

namespace velnor {

namespace {

const QString kTitle = QStringLiteral("Velnor Solo");

// A box belongs to its owner's window only while that window is on the screen: a window
// manager keeps the box of a window not yet shown (a file that could not be read at start)
// hidden with it, and the program would wait, unseen, for an answer.
QWidget* shown_owner(QWidget* owner) { return owner != nullptr && owner->window()->isVisible() ? owner : nullptr; }

// The texts hold file names and the player's name: shown as they are, never read as markup.
int show_box(QWidget* owner, QMessageBox::Icon icon, const QString& text,
             QMessageBox::StandardButtons buttons = QMessageBox::Ok) {
  QMessageBox box(icon, kTitle, text, buttons, shown_owner(owner));
  box.setTextFormat(Qt::PlainText);
  return box.exec();
}

}  // namespace

void MessageBoxDialogs::message(QWidget* owner, const QString& text) {
  show_box(owner, QMessageBox::Information, text);
}

void MessageBoxDialogs::error(QWidget* owner, const QString& text) {
  show_box(owner, QMessageBox::Critical, error_box_text(text));
}

bool MessageBoxDialogs::ask_yes_no(QWidget* owner, const QString& text) {
  return show_box(owner, QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

QString error_box_text(const QString& text) {
  if (!text.isEmpty() && text.back() > QChar('.')) return text + '.';
  return text;
}

}  // namespace velnor
