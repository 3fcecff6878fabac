#include "dialogs.h"

#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QTimer>

namespace velnor {

namespace {

const QString kTitle = QStringLiteral("Velnor Solo");

// The texts hold file names and the player's name: shown as they are, never read as markup.
int show_box(QWidget* owner, QMessageBox::Icon icon, const QString& text,
             QMessageBox::StandardButtons buttons = QMessageBox::Ok, const QString& details = {}) {
  QMessageBox box(icon, kTitle, text, buttons, owner);
  box.setTextFormat(Qt::PlainText);
  // Under a "Show Details..." button.
  if (!details.isEmpty()) box.setDetailedText(details);
  return box.exec();
}

bool on_screen(const QWidget* widget) { return widget != nullptr && widget->window()->isVisible(); }

}  // namespace

void MessageBoxDialogs::message(QWidget* owner, const QString& text) {
  show_or_wait(owner, QMessageBox::Information, text);
}

void MessageBoxDialogs::error(QWidget* owner, const QString& text) {
  show_or_wait(owner, QMessageBox::Critical, error_box_text(text));
}

void MessageBoxDialogs::problem(QWidget* owner, const QString& text, const QString& details) {
  show_or_wait(owner, QMessageBox::Warning, text, details);
}

// A question is answered before the program goes on: it is asked at once, over its owner if the
// owner is on the screen (a window manager keeps the box of a window not yet shown hidden with it,
// and the program would wait, unseen, for an answer).
bool MessageBoxDialogs::ask_yes_no(QWidget* owner, const QString& text) {
  return show_box(on_screen(owner) ? owner : nullptr, QMessageBox::Question, text,
                  QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void MessageBoxDialogs::show_or_wait(QWidget* owner, int icon, const QString& text, const QString& details) {
  const auto shown_icon = static_cast<QMessageBox::Icon>(icon);
  if (on_screen(owner)) {
    show_box(owner, shown_icon, text, QMessageBox::Ok, details);
  } else if (on_screen(game_window_)) {
    show_box(game_window_, shown_icon, text, QMessageBox::Ok, details);
  } else if (owner != nullptr && game_window_.isNull()) {
    // Watches for the first window to be shown, once.
    if (waiting_.empty()) qApp->installEventFilter(this);
    waiting_.push_back({icon, text, details});
  } else {
    show_box(nullptr, shown_icon, text, QMessageBox::Ok, details);
  }
}

bool MessageBoxDialogs::eventFilter(QObject* watched, QEvent* event) {
  auto* widget = qobject_cast<QWidget*>(watched);
  if (event->type() == QEvent::Show && widget != nullptr && widget->isWindow() &&
      qobject_cast<QMessageBox*>(widget) == nullptr) {
    game_window_ = widget;
    qApp->removeEventFilter(this);
    // Once the window is on the screen, with the boxes over it.
    QTimer::singleShot(0, this, [this] { show_waiting(); });
  }
  return false;
}

void MessageBoxDialogs::show_waiting() {
  std::vector<Waiting> waiting;
  waiting.swap(waiting_);
  for (const Waiting& box : waiting)
    show_box(on_screen(game_window_) ? game_window_.data() : nullptr, static_cast<QMessageBox::Icon>(box.icon),
             box.text, QMessageBox::Ok, box.details);
}

QString error_box_text(const QString& text) {
  if (!text.isEmpty() && text.back() > QChar('.')) return text + '.';
  return text;
}

}  // namespace velnor
