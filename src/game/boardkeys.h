#pragma once

#include <QObject>

#include <functional>

class QWidget;

namespace velnor {

class BoardForm;

// Keys for players who would rather not reach for the mouse: 1 to 9 press a tile, Space or R the
// roll picture while it is there; Space or Enter presses the tile that Tab put the keyboard on. It
// reads the keys that reach the board's window, after every control that takes keys has had them.
class BoardKeys : public QObject {
 public:
  BoardKeys(BoardForm& board, QWidget* window, std::function<void()> roll);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  BoardForm& board_;
  QWidget* window_;
  std::function<void()> roll_;
};

}  // namespace velnor
