#include "boardkeys.h"

#include <QKeyEvent>
#include <QWidget>

#include "game/boardform.h"
#include "game/tanimated.h"
#include "windows/timage.h"

namespace velnor {

BoardKeys::BoardKeys(BoardForm& board, QWidget* window, std::function<void()> roll)
    : QObject(window), board_(board), window_(window), roll_(std::move(roll)) {
  window->installEventFilter(this);
}

bool BoardKeys::eventFilter(QObject* watched, QEvent* event) {
  if (watched != window_ || event->type() != QEvent::KeyPress) return false;
  const auto* press = static_cast<QKeyEvent*>(event);
  const int key = press->key();
  if ((press->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
  auto* focused_tile = qobject_cast<TAnimated*>(window_->focusWidget());
  if (focused_tile != nullptr && (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)) {
    board_.number_1MouseDown(focused_tile);
  } else if (key >= Qt::Key_1 && key <= Qt::Key_9) {
    board_.number_1MouseDown(board_.tile(key - Qt::Key_0));
  } else if (key == Qt::Key_Space || key == Qt::Key_R) {
    if (board_.button_roll->isVisible()) roll_();
  } else {
    return false;
  }
  return true;
}

}  // namespace velnor
