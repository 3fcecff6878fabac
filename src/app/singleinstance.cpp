#include "singleinstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "core/filedescriptor.h"

namespace velnor {

namespace {

// How long a start waits on a running copy that does not take its call (one that hangs).
constexpr timeval kHandshakeTimeout{2, 0};
constexpr char kRaise[] = "raise\n";

QString runtime_folder() {
  const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
  return runtime.isEmpty() ? QDir::tempPath() : QString::fromLocal8Bit(runtime);
}

// Holds a lock file for as long as it lives, so that two copies started at the same moment
// take turns at the socket.
class TurnLock {
 public:
  explicit TurnLock(const QString& path)
      : file_(::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
    if (file_.get() >= 0) ::flock(file_.get(), LOCK_EX);
  }

 private:
  FileDescriptor file_;
};

// False when the path does not fit in an address (the runtime folder is too deep).
bool address_of(const QString& path, sockaddr_un& address) {
  const QByteArray name = QFile::encodeName(path);
  address = {};
  address.sun_family = AF_UNIX;
  if (name.size() >= static_cast<qsizetype>(sizeof address.sun_path)) return false;
  std::memcpy(address.sun_path, name.constData(), static_cast<std::size_t>(name.size()));
  return true;
}

}  // namespace

SingleInstance::SingleInstance(const QString& key, const QString& records_folder) : records_folder_(records_folder) {
  const QByteArray folder = QFile::encodeName(QDir(records_folder).canonicalPath());
  const QString tag = QCryptographicHash::hash(folder, QCryptographicHash::Sha256).toHex().left(16);
  socket_path_ = runtime_folder() + "/" + key + "-" + tag + ".socket";
}

SingleInstance::~SingleInstance() {
  if (records_lock_ >= 0) ::close(records_lock_);
  if (listener_ < 0) return;
  delete notifier_;
  ::close(listener_);
  ::unlink(QFile::encodeName(socket_path_).constData());
}

bool SingleInstance::tell_running_copy() const {
  sockaddr_un address;
  if (!address_of(socket_path_, address)) return false;
  const FileDescriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (socket.get() < 0) return false;
  // The timeout bounds both the connect and the write.
  ::setsockopt(socket.get(), SOL_SOCKET, SO_SNDTIMEO, &kHandshakeTimeout, sizeof kHandshakeTimeout);
  if (::connect(socket.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) return false;
  return ::send(socket.get(), kRaise, sizeof kRaise - 1, MSG_NOSIGNAL) == static_cast<ssize_t>(sizeof kRaise - 1);
}

bool SingleInstance::listen() {
  sockaddr_un address;
  if (!address_of(socket_path_, address)) return false;
  FileDescriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
  if (socket.get() < 0) return false;
  // No copy answered: a socket file still there was left by one that ended without removing it.
  ::unlink(address.sun_path);
  if (::bind(socket.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) return false;
  // Only this user may call; nobody can connect before listen, so there is no moment it is open.
  if (::chmod(address.sun_path, 0600) != 0 || ::listen(socket.get(), SOMAXCONN) != 0) {
    ::unlink(address.sun_path);
    return false;
  }
  listener_ = socket.release();
  notifier_ = new QSocketNotifier(listener_, QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &SingleInstance::accept_waiting);
  return true;
}

void SingleInstance::accept_waiting() {
  for (;;) {
    const int call = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (call < 0) {
      if (errno == EINTR) continue;
      return;
    }
    // Kept open until the caller hangs up, so that its message never meets a closed socket.
    auto* caller = new QSocketNotifier(call, QSocketNotifier::Read, this);
    connect(caller, &QObject::destroyed, [call] { ::close(call); });
    connect(caller, &QSocketNotifier::activated, caller, [caller, call] {
      char bytes[64];
      ssize_t got = 0;
      while ((got = ::read(call, bytes, sizeof bytes)) > 0) {
      }
      if (got < 0 && (errno == EAGAIN || errno == EINTR)) return;
      caller->setEnabled(false);
      caller->deleteLater();
    });
    if (on_second_start) on_second_start();
  }
}

// The lock lies on the folder itself, which every user and session that may write the records
// can open, and which holds no file of ours.
bool SingleInstance::hold_records() {
  FileDescriptor folder(::open(QFile::encodeName(records_folder_).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.get() < 0) return true;  // no folder yet to share: nothing to guard
  if (::flock(folder.get(), LOCK_EX | LOCK_NB) != 0) return errno != EWOULDBLOCK;
  records_lock_ = folder.release();
  return true;
}

SingleInstance::Start SingleInstance::start() {
  const TurnLock turn(socket_path_ + ".lock");
  if (tell_running_copy()) return Start::handed_over;
  if (!hold_records()) return Start::held_elsewhere;
  listen();  // if it cannot, the game still runs, only alone
  return Start::first;
}

}  // namespace velnor
