#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QSocketNotifier;

namespace velnor {

// One running copy of the game per set of records: two copies would each write
// their own tally over the other's. A second start asks the running copy to come
// to the front and ends.
class SingleInstance : public QObject {
  Q_OBJECT
 public:
  enum class Start {
    first,           // no copy runs on these records: this one is now the copy that later starts reach
    handed_over,     // a copy runs on them already and was told to come forward
    held_elsewhere,  // a copy that cannot be reached (another user's, another session's) runs on them
  };

  // The copies on one records folder meet at a local socket in the user's runtime folder,
  // named after the product key and the folder; whoever starts them, the one that runs holds a
  // lock on the folder itself.
  SingleInstance(const QString& key, const QString& records_folder);
  ~SingleInstance() override;
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  Start start();

  // Runs when a later start asks this copy to come forward.
  std::function<void()> on_second_start;

  const QString& socket_path() const { return socket_path_; }

 private:
  bool tell_running_copy() const;
  bool listen();
  void accept_waiting();

  bool hold_records();

  QString records_folder_;
  QString socket_path_;
  int records_lock_ = -1;
  int listener_ = -1;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace velnor
