#include "firstpaint.h"

#include <QEvent>
#include <QMetaObject>
#include <QWidget>
#include <QWindow>

namespace velnor {

namespace {

// Watches the window's show for its platform window, then that window's first exposure, which
// paints and flushes the window; the work is queued behind it.
class FirstPaint : public QObject {
 public:
  FirstPaint(QWidget* window, std::function<void()> work) : QObject(window), window_(window), work_(std::move(work)) {
    window->installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == window_ && event->type() == QEvent::Show && handle_ == nullptr) {
      handle_ = window_->windowHandle();
      if (handle_ != nullptr) handle_->installEventFilter(this);
    } else if (watched == handle_ && event->type() == QEvent::Expose && handle_->isExposed()) {
      handle_->removeEventFilter(this);
      window_->removeEventFilter(this);
      QMetaObject::invokeMethod(window_, std::move(work_), Qt::QueuedConnection);
      deleteLater();
    }
    return false;
  }

 private:
  QWidget* window_;
  std::function<void()> work_;
  QWindow* handle_ = nullptr;
};

}  // namespace

void after_first_paint(QWidget* window, std::function<void()> work) { new FirstPaint(window, std::move(work)); }

}  // namespace velnor
