// Preloaded (LD_PRELOAD) into a Qt Widgets program by bench/startup_bench.sh, so that the
// script can time start-up to the first paint without changing the program it measures.
//
//   VELNOR_PROBE_OUT=FILE     written once the first top-level window has been painted and
//                             flushed to the display server:
//                             "painted SECONDS.NANOSECONDS PID WINID CPU_NANOSECONDS"
//                             (wall clock, so that it compares with the launcher's clock, and
//                             the CPU time the whole process has used by then, all threads)
//   VELNOR_PROBE_LOCATE=NAME  adds a line "NAME X Y": the screen centre of the widget of that
//                             object name at that moment, for a script that has to click it
//
// Without VELNOR_PROBE_OUT the probe does nothing. After its report it removes its event filter,
// so the program runs on exactly as it would without it.
#include <QApplication>
#include <QByteArray>
#include <QEvent>
#include <QFile>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <ctime>
#include <utility>

#include <unistd.h>

namespace {

class FirstPaintProbe : public QObject {
 public:
  FirstPaintProbe(QByteArray out, QByteArray locate)
      : QObject(QCoreApplication::instance()), out_(std::move(out)), locate_(std::move(locate)) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (delivering_ || event->type() != QEvent::Expose) return false;
    auto* window = qobject_cast<QWindow*>(watched);
    if (window == nullptr || !window->isTopLevel() || !window->isExposed()) return false;
    // A widget window paints its widgets into the backing store and flushes it to the display
    // server while it handles its expose event, so the paint is done once that returns.
    delivering_ = true;
    QCoreApplication::sendEvent(watched, event);
    delivering_ = false;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    timespec cpu{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
    report(now, cpu, *window);
    QCoreApplication::instance()->removeEventFilter(this);
    return true;
  }

 private:
  void report(const timespec& now, const timespec& cpu, const QWindow& window) const {
    QByteArray text = QByteArray("painted ") + QByteArray::number(static_cast<qint64>(now.tv_sec)) + '.' +
                      QByteArray::number(static_cast<qint64>(now.tv_nsec)).rightJustified(9, '0') + ' ' +
                      QByteArray::number(static_cast<qint64>(getpid())) + ' ' +
                      QByteArray::number(static_cast<quint64>(window.winId())) + ' ' +
                      QByteArray::number(static_cast<qint64>(cpu.tv_sec) * 1000000000 + cpu.tv_nsec) + '\n';
    if (!locate_.isEmpty()) {
      for (QWidget* widget : QApplication::allWidgets()) {
        if (widget->objectName().toUtf8() != locate_) continue;
        const QPoint centre = widget->mapToGlobal(widget->rect().center());
        text += locate_ + ' ' + QByteArray::number(centre.x()) + ' ' + QByteArray::number(centre.y()) + '\n';
        break;
      }
    }
    // Written beside and renamed into place, so that a reader never sees half of it.
    const QString path = QString::fromLocal8Bit(out_);
    QFile file(path + ".part");
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) {
      std::fprintf(stderr, "first_paint_probe: cannot write %s\n", out_.constData());
      return;
    }
    file.close();
    QFile::remove(path);
    QFile::rename(path + ".part", path);
  }

  QByteArray out_;
  QByteArray locate_;
  bool delivering_ = false;
};

// Runs when the program creates its application object.
void install_probe() {
  const QByteArray out = qgetenv("VELNOR_PROBE_OUT");
  if (out.isEmpty()) return;
  QCoreApplication::instance()->installEventFilter(new FirstPaintProbe(out, qgetenv("VELNOR_PROBE_LOCATE")));
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(install_probe)
