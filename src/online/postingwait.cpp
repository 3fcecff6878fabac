#include "postingwait.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QTimer>

#include "windows/dialogs.h"
#include "windows/tflatpanel.h"

namespace velnor {

namespace {

constexpr const char* kFailed = QT_TRANSLATE_NOOP("PostingWait", "Posting Failed.");

}  // namespace

PostingWait::PostingWait(TFlatPanel* panel_wait, QWidget* covered, QTimer* timer, Dialogs& dialogs, QWidget* owner)
    : panel_(panel_wait), covered_(covered), timer_(timer), dialogs_(dialogs), owner_(owner) {}

void PostingWait::start() {
  countdown_ = kTicks;
  dots_ = 0;
  timer_->start();
  panel_->show();
  panel_->raise();
  covered_->hide();
  // A live status: the screen reader reads it out as it comes up.
  QAccessibleEvent shown(panel_, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&shown);
}

void PostingWait::tick() {
  --countdown_;
  dots_ = dots_ % 5 + 1;
  panel_->setCaption(QCoreApplication::translate("PostingWait", "Posting Score, Please Wait") + QString(dots_, '.'));
  if (countdown_ == 0) {
    // Ticks that come while the box is open only move the dots.
    dialogs_.message(owner_, QCoreApplication::translate("PostingWait", kFailed));
    timer_->stop();
  }
}

void PostingWait::stop() { timer_->stop(); }

void PostingWait::fail(const std::string& details) {
  if (countdown_ <= 0 || !timer_->isActive()) return;
  // Stopped first: no tick may count down to a second message while the box is open.
  countdown_ = 0;
  timer_->stop();
  const QString failed = QCoreApplication::translate("PostingWait", kFailed);
  if (details.empty())
    dialogs_.message(owner_, failed);
  else
    dialogs_.problem(owner_, failed, QString::fromStdString(details));
}

}  // namespace velnor
