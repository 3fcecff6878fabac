#include "displayguard.h"

#include <QByteArray>
#include <QList>
#include <QMessageLogContext>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace velnor {

namespace {

struct HeldMessage {
  QtMsgType type;
  QByteArray category;
  QString text;
};

QtMessageHandler previous = nullptr;
QList<HeldMessage> held;

void pass_on(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (previous != nullptr) {
    previous(type, context, text);
  } else {
    std::fprintf(stderr, "%s\n", qFormatLogMessage(type, context, text).toLocal8Bit().constData());
  }
}

bool platform_message(const QMessageLogContext& context) {
  return context.category != nullptr && std::strncmp(context.category, "qt.qpa", 6) == 0;
}

void on_message(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtFatalMsg) {
    // The platform's first word is the reason (the display refused us); what follows, Qt's own
    // fatal text included, is advice for another system.
    const QString reason = held.isEmpty() ? text.section('\n', 0, 0) : held.first().text;
    std::fprintf(stderr, "velnorsolo: cannot open a display: %s\n", reason.toLocal8Bit().constData());
    std::fflush(stderr);
    std::_Exit(1);
  }
  if (platform_message(context)) {
    held.append({type, context.category, text});
    return;
  }
  pass_on(type, context, text);
}

}  // namespace

DisplayGuard::DisplayGuard() { previous = qInstallMessageHandler(on_message); }

DisplayGuard::~DisplayGuard() {
  qInstallMessageHandler(previous);
  for (const HeldMessage& message : held) {
    const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
    pass_on(message.type, context, message.text);
  }
  held.clear();
}

}  // namespace velnor
