#include "screenreader.h"

#include <QDeadlineTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>

#include <gtest/gtest.h>

#include "command.h"

namespace velnor::testing {

namespace {

constexpr int kStartMs = 10000;
constexpr int kReadMs = 30000;  // the script waits up to 20 s for the program to register
constexpr int kPollMs = 50;
const QString kPython = "/usr/bin/python3";  // Debian's, which has pyatspi
const QString kScript = VELNOR_SOURCE_DIR "/tests/e2e/screenreader.py";

QStringList strings(const QJsonValue& value) {
  QStringList list;
  for (const QJsonValue& item : value.toArray()) list << item.toString();
  return list;
}

}  // namespace

std::optional<Accessible> find_showing(const AccessibleTree& tree, const QString& role, const QString& name) {
  for (const Accessible& object : tree)
    if (object.role == role && object.name == name && object.is("showing")) return object;
  return std::nullopt;
}

ScreenReader::~ScreenReader() {
  if (listener_.state() != QProcess::NotRunning) {
    listener_.kill();
    listener_.waitForFinished(5000);
  }
  if (bus_.state() == QProcess::NotRunning) return;
  // The accessibility bus that it started ends with it.
  bus_.terminate();
  if (!bus_.waitForFinished(5000)) {
    bus_.kill();
    bus_.waitForFinished(5000);
  }
}

bool ScreenReader::start(const QProcessEnvironment& environment, QString& why) {
  environment_ = environment;
  const QString socket = environment.value("XDG_RUNTIME_DIR") + "/session-bus";
  bus_.setProcessEnvironment(environment);
  address_ = QString::fromLatin1(start_and_read_line(
      bus_, "dbus-daemon", {"--session", "--nofork", "--address=unix:path=" + socket, "--print-address=1"}, kStartMs,
      why));
  if (address_.isEmpty()) return false;
  environment_.insert("DBUS_SESSION_BUS_ADDRESS", address_);
  return true;
}

void ScreenReader::add_to(QProcessEnvironment& environment) const {
  if (address_.isEmpty()) return;
  environment.insert("DBUS_SESSION_BUS_ADDRESS", address_);
  environment.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
}

AccessibleTree ScreenReader::tree(pid_t program) {
  const CommandResult read = run_command(kPython, {kScript, QString::number(program), "tree"}, environment_, kReadMs);
  EXPECT_TRUE(read.ok) << "reading the accessibility tree: " << read.describe().toStdString();
  AccessibleTree tree;
  for (const QByteArray& line : read.out.split('\n')) {
    if (line.isEmpty()) continue;
    const QJsonObject object = QJsonDocument::fromJson(line).object();
    Accessible read{object["role"].toString(),
                    object["name"].toString(),
                    object["description"].toString(),
                    strings(object["states"]),
                    strings(object["actions"]),
                    object["depth"].toInt(),
                    std::nullopt};
    if (const QJsonObject table = object["table"].toObject(); !table.isEmpty())
      read.table = Accessible::Table{table["rows"].toInt(), table["columns"].toInt(), table["row_headers"].toInt(),
                                     table["column_headers"].toInt()};
    tree.append(read);
  }
  return tree;
}

void ScreenReader::press(pid_t program, const QString& name) {
  const CommandResult pressed =
      run_command(kPython, {kScript, QString::number(program), "press", name}, environment_, kReadMs);
  EXPECT_TRUE(pressed.ok) << "pressing " << name.toStdString() << ": " << pressed.describe().toStdString();
}

void ScreenReader::listen(pid_t program) {
  listener_.setProcessEnvironment(environment_);
  QString why;
  // The listener's first line says it is listening.
  const QByteArray first =
      start_and_read_line(listener_, kPython, {kScript, QString::number(program), "listen"}, kReadMs, why);
  EXPECT_FALSE(first.isEmpty()) << "starting to listen: " << why.toStdString();
}

QStringList ScreenReader::heard() {
  // Takes in all that has come, until the listener has been quiet for a moment.
  while (listener_.waitForReadyRead(kPollMs)) {
  }
  while (listener_.canReadLine()) {
    const QJsonObject object = QJsonDocument::fromJson(listener_.readLine()).object();
    heard_ << object["role"].toString() + " '" + object["name"].toString() + "'";
  }
  return heard_;
}

bool ScreenReader::wait_for(pid_t program, int timeout_ms, const std::function<bool(const AccessibleTree&)>& check,
                            const char* what) {
  const QDeadlineTimer deadline(timeout_ms);
  for (;;) {
    last = tree(program);
    if (check(last)) return true;
    if (deadline.hasExpired()) break;
    QThread::msleep(kPollMs);
  }
  QStringList shown;
  for (const Accessible& object : last)
    if (object.is("showing")) shown << object.role + " '" + object.name + "' " + object.description;
  ADD_FAILURE() << "the screen reader never read " << what << "; it read:\n" << shown.join('\n').toStdString();
  return false;
}

}  // namespace velnor::testing
