#pragma once

#include <string>

class QTimer;
class QWidget;

namespace velnor {

class Dialogs;
class TFlatPanel;

// The wait after SEND SCORE: the wait panel's dots move on each tick of its one-second timer,
// and forty ticks without an answer tell the player "Posting Failed.", once. The panel covers SEND
// SCORE: one game's end offers one posting, so the covered button goes from the screen and from a
// screen reader's view until the next game shows it.
class PostingWait {
 public:
  static constexpr int kTicks = 40;

  PostingWait(TFlatPanel* panel_wait, QWidget* covered, QTimer* timer, Dialogs& dialogs, QWidget* owner);

  void start();
  void tick();
  // The server answered.
  void stop();
  // The server refused the posting: the player is told at once, unless the wait
  // has already ended; `details`, if any, under Show Details.
  void fail(const std::string& details = {});

 private:
  TFlatPanel* panel_;
  QWidget* covered_;
  QTimer* timer_;
  Dialogs& dialogs_;
  QWidget* owner_;
  int countdown_ = 0;  // ticks left before the posting counts as failed
  int dots_ = 0;
};

}  // namespace velnor
