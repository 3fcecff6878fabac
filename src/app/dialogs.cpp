#include "dialogs.h"

#include <QApplication>
#include <QMessageBox>

namespace velnor {

void MessageBoxDialogs::message(QWidget* owner, const QString& text) {
  QMessageBox::information(owner, QApplication::applicationDisplayName(), text);
}

void MessageBoxDialogs::error(QWidget* owner, const QString& text) {
  QMessageBox::critical(owner, QApplication::applicationDisplayName(), error_box_text(text));
}

bool MessageBoxDialogs::ask_yes_no(QWidget* owner, const QString& text) {
  return QMessageBox::question(owner, QApplication::applicationDisplayName(), text,
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

QString error_box_text(const QString& text) {
  if (!text.isEmpty() && text.back() > QChar('.')) return text + '.';
  return text;
}

}  // namespace velnor
