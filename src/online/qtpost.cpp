#include "qtpost.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace velnor {

PostToUi qt_ui_poster() {
  return [](std::function<void()> task) {
    if (QCoreApplication* app = QCoreApplication::instance())
      QMetaObject::invokeMethod(app, std::move(task), Qt::QueuedConnection);
  };
}

}  // namespace velnor
