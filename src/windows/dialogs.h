#pragma once

#include <QString>

class QWidget;

namespace velnor {

// Message boxes, behind one interface so that tests can answer them from a script.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual void message(QWidget* owner, const QString& text) = 0;
  virtual void error(QWidget* owner, const QString& text) = 0;
  virtual bool ask_yes_no(QWidget* owner, const QString& text) = 0;
};

// The real boxes, titled with the application's name.
class MessageBoxDialogs final : public Dialogs {
 public:
  void message(QWidget* owner, const QString& text) override;
  void error(QWidget* owner, const QString& text) override;
  bool ask_yes_no(QWidget* owner, const QString& text) override;
};

// An error text as the error box shows it: a full stop is added when the last
// character sorts after ".".
QString error_box_text(const QString& text);

}  // namespace velnor
