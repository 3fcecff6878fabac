#include "windowplacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace velnor {

namespace {

// The frame's width on each side, as far as the window manager has told it.
// Before it has framed the window, Qt may measure the frame from a window the
// manager has not yet sized, which gives sides below zero: no frame yet.
QMargins frame_margins(const QWidget* window) {
  const QWindow* handle = window->windowHandle();
  if (handle == nullptr) return {};
  const QMargins sides = handle->frameMargins();
  if (sides.left() < 0 || sides.top() < 0 || sides.right() < 0 || sides.bottom() < 0) return {};
  return sides;
}

bool is_framed(const QWidget* window) { return !frame_margins(window).isNull(); }

}  // namespace

// Both go by the inside, which is always where the window is: Qt's frame
// position can still hold the requested place of a window not yet framed.
QRect outer_bounds(const QWidget* window) { return window->geometry().marginsAdded(frame_margins(window)); }

void set_outer_bounds(QWidget* window, const QRect& outer) {
  window->setGeometry(outer.marginsRemoved(frame_margins(window)));
}

QRect fit_into(QRect outer, const QRect& work) {
  outer.setWidth(std::min(outer.width(), work.width()));
  outer.setHeight(std::min(outer.height(), work.height()));
  outer.moveLeft(std::clamp(outer.left(), work.left(), work.right() + 1 - outer.width()));
  outer.moveTop(std::clamp(outer.top(), work.top(), work.bottom() + 1 - outer.height()));
  return outer;
}

QRect work_area_for(const QRect& outer) {
  QScreen* best = QGuiApplication::primaryScreen();
  long long best_area = 0;
  for (QScreen* screen : QGuiApplication::screens()) {
    const QRect common = screen->geometry().intersected(outer);
    const long long area = static_cast<long long>(common.width()) * common.height();
    if (area > best_area) {
      best = screen;
      best_area = area;
    }
  }
  return best != nullptr ? best->availableGeometry() : outer;
}

QRect centred_on(const QWidget* window, const QWidget* owner) {
  QRect frame = outer_bounds(window);
  frame.moveCenter(outer_bounds(owner).center());
  return fit_into(frame, work_area_for(outer_bounds(owner)));
}

QRect beside(const QWidget* window, const QWidget* owner) {
  QRect frame = outer_bounds(window);
  const QRect next_to = outer_bounds(owner);
  const QRect work = work_area_for(next_to);
  frame.moveTop(next_to.top());
  if (next_to.right() + frame.width() <= work.right())
    frame.moveLeft(next_to.right() + 1);
  else if (next_to.left() - frame.width() >= work.left())
    frame.moveRight(next_to.left() - 1);
  else
    frame.moveLeft(next_to.right() + 1);  // fit_into brings it back as far as it must
  return fit_into(frame, work);
}

namespace {

// Watches a window's shows, and its platform window's first exposure after
// each, when the frame has come.
class Placement : public QObject {
 public:
  Placement(QWidget* window, PlaceAt when, std::function<QRect()> rule)
      : QObject(window), window_(window), when_(when), rule_(std::move(rule)) {
    window->installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == window_ && event->type() == QEvent::Show && (when_ == PlaceAt::every_show || !shown_)) {
      shown_ = true;
      // A window the program has placed before keeps that place until it is
      // framed: moving it now, unframed, would put its inside where its frame
      // should go.
      if (!window_->testAttribute(Qt::WA_Moved)) place();
      // The platform window exists from the show on.
      if (QWindow* handle = window_->windowHandle(); handle != nullptr && handle != handle_) {
        handle_ = handle;
        handle->installEventFilter(this);
      }
      awaiting_frame_ = true;
      exposed_ = false;
    } else if (watched == handle_ && event->type() == QEvent::Expose && awaiting_frame_ && handle_->isExposed()) {
      exposed_ = true;
      place();
    } else if ((watched == window_ || watched == handle_) &&
               (event->type() == QEvent::Move || event->type() == QEvent::Resize) && awaiting_frame_ && exposed_ &&
               is_framed(window_)) {
      // On a busy machine the frame can come after the first exposure.
      place();
    }
    return false;
  }

 private:
  void place() {
    set_outer_bounds(window_, rule_());
    awaiting_frame_ = !is_framed(window_);
  }

  QWidget* window_;
  PlaceAt when_;
  std::function<QRect()> rule_;
  QWindow* handle_ = nullptr;
  bool shown_ = false;
  bool awaiting_frame_ = false;
  bool exposed_ = false;
};

}  // namespace

void keep_placed(QWidget* window, PlaceAt when, std::function<QRect()> rule) {
  new Placement(window, when, std::move(rule));
}

}  // namespace velnor
