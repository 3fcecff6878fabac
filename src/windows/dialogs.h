#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <vector>

class QWidget;

namespace velnor {

// Message boxes, behind one interface so that tests can answer them from a script.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual void message(QWidget* owner, const QString& text) = 0;
  virtual void error(QWidget* owner, const QString& text) = 0;
  // Something the game could not do or would not do (a file of the player's that could not be
  // read or written, an update refused): `text` says in plain words what happened and what the
  // game did; `details` holds the technical reason, shown on request.
  virtual void problem(QWidget* owner, const QString& text, const QString& details) = 0;
  virtual bool ask_yes_no(QWidget* owner, const QString& text) = 0;
};

// The real boxes, titled with the application's name. A box that needs no answer, for a window
// not on the screen yet (a file read as the game starts), waits for the game's window and is shown
// over it: before it, the player would not know what the box is about.
class MessageBoxDialogs final : public QObject, public Dialogs {
 public:
  void message(QWidget* owner, const QString& text) override;
  void error(QWidget* owner, const QString& text) override;
  void problem(QWidget* owner, const QString& text, const QString& details) override;
  bool ask_yes_no(QWidget* owner, const QString& text) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Waiting {
    int icon;
    QString text;
    QString details;
  };
  // Shows the box now, or keeps it until the game's window is on the screen.
  void show_or_wait(QWidget* owner, int icon, const QString& text, const QString& details = {});
  void show_waiting();

  QPointer<QWidget> game_window_;  // the first window shown
  std::vector<Waiting> waiting_;
};

// An error text as the error box shows it: a full stop is added when the last
// character sorts after ".".
QString error_box_text(const QString& text);

}  // namespace velnor
