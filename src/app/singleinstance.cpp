#include "singleinstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace velnor {

namespace {

constexpr int kHandshakeMs = 2000;

QString runtime_folder() {
  const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
  return runtime.isEmpty() ? QDir::tempPath() : QString::fromLocal8Bit(runtime);
}

// Holds a lock file for as long as it lives, so that two copies started at the same moment
// take turns at the socket.
class TurnLock {
 public:
  explicit TurnLock(const QString& path) : fd_(::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
    if (fd_ >= 0) ::flock(fd_, LOCK_EX);
  }
  ~TurnLock() {
    if (fd_ >= 0) ::close(fd_);
  }
  TurnLock(const TurnLock&) = delete;
  TurnLock& operator=(const TurnLock&) = delete;

 private:
  int fd_;
};

}  // namespace

SingleInstance::SingleInstance(const QString& key, const QString& program_dir) {
  const QByteArray folder = QFile::encodeName(QDir(program_dir).canonicalPath());
  const QString tag = QCryptographicHash::hash(folder, QCryptographicHash::Sha256).toHex().left(16);
  socket_path_ = runtime_folder() + "/" + key + "-" + tag + ".socket";
}

SingleInstance::~SingleInstance() {
  if (server_ != nullptr) server_->close();  // removes the socket file
}

bool SingleInstance::tell_running_copy() {
  QLocalSocket socket;
  socket.connectToServer(socket_path_);
  if (!socket.waitForConnected(kHandshakeMs)) return false;
  socket.write("raise\n");
  return socket.waitForBytesWritten(kHandshakeMs);
}

bool SingleInstance::handed_over() {
  const TurnLock turn(socket_path_ + ".lock");
  if (tell_running_copy()) return true;
  // No copy answers: a socket file still there was left by one that ended without closing it.
  QLocalServer::removeServer(socket_path_);
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_->listen(socket_path_)) return false;  // the game still runs, only alone
  connect(server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
      connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      if (on_second_start) on_second_start();
    }
  });
  return false;
}

}  // namespace velnor
