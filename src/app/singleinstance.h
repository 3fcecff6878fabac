#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QSocketNotifier;

namespace velnor {

// One running copy of the game per program folder: two copies would each write
// their own tally over the other's. A second start asks the running copy to come
// to the front and ends.
class SingleInstance : public QObject {
  Q_OBJECT
 public:
  // The copies of one folder meet at a local socket in the user's runtime folder,
  // named after the product key and the folder.
  SingleInstance(const QString& key, const QString& program_dir);
  ~SingleInstance() override;
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // True when a copy runs in this folder already and was told to come forward;
  // otherwise this copy is now the one that later starts reach.
  bool handed_over();

  // Runs when a later start asks this copy to come forward.
  std::function<void()> on_second_start;

  const QString& socket_path() const { return socket_path_; }

 private:
  bool tell_running_copy() const;
  bool listen();
  void accept_waiting();

  QString socket_path_;
  int listener_ = -1;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace velnor
