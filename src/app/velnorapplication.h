#pragma once

#include <QApplication>

namespace velnor {

class Dialogs;

// The application object: the one place where an exception that would
// otherwise unwind through Qt is caught and shown in the error box.
class VelnorApplication : public QApplication {
 public:
  VelnorApplication(int& argc, char** argv, Dialogs& dialogs);
  bool notify(QObject* receiver, QEvent* event) override;

 private:
  Dialogs& dialogs_;
};

}  // namespace velnor
