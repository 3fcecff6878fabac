// The Debian packages as a machine's users meet them: both installed with apt, the game played by
// ordinary users through X input, each user's records in their own folders and nothing written
// under /usr; a logout that cannot save the settings ends the game at once with the tally whole;
// the server's unit checked and its pages found where the package put them; the installed game
// plays, posts and shows the page over HTTPS from the installed server, whose certificate the
// machine's trust store vouches for, and refuses every certificate that does not hold.
//
// It needs root, apt and the packages that scripts/package built, so ctest does not run it;
// scripts/test does:
//   test_e2e_packaged DEBDIR   (or VELNOR_DEB_DIR=DEBDIR test_e2e_packaged)
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <fcntl.h>
#include <pwd.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "command.h"
#include "core/wire.h"
#include "installedgame.h"
#include "support/private_network.h"
#include "support/testauthority.h"

using namespace velnor::testing;

namespace {

QString deb_dir;  // where the packages are, from the command line or VELNOR_DEB_DIR

const QStringList kPackages = {"velnorsolo", "velnor-server"};
constexpr int kAptMs = 300000;

QProcessEnvironment apt_environment() {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("DEBIAN_FRONTEND", "noninteractive");
  return environment;
}

// Installs both packages with apt, as a user would (their dependencies may come from the archive):
// an empty text, or what went wrong.
std::string install_packages() {
  if (deb_dir.isEmpty()) return "give the folder of the .deb files: test_e2e_packaged DEBDIR";
  QStringList debs;
  for (const QString& package : kPackages) {
    const QStringList found = QDir(deb_dir).entryList({package + "_*.deb"}, QDir::Files);
    if (found.size() != 1) return "no single " + package.toStdString() + "_*.deb in " + deb_dir.toStdString();
    debs << QDir(deb_dir).absoluteFilePath(found.first());
  }
  const CommandResult installed =
      run_command("apt-get", QStringList{"install", "-y", "-q"} + debs, apt_environment(), kAptMs);
  return installed.ok ? std::string() : installed.describe().toStdString() + installed.out.toStdString();
}

// Purges them again, settings and state and all: an empty text, or what is left. The service's
// state is laid out first as systemd leaves it for a service of its own user (here systemd does not
// run the service), with a store in it.
std::string purge_packages() {
  QDir().mkpath("/var/lib/private/velnor-server/release");
  QFile store("/var/lib/private/velnor-server/scores.db");
  if (!store.open(QIODevice::WriteOnly) || store.write("scores") != 6)
    return "the service's state could not be laid out";
  store.close();
  QFile::link("private/velnor-server", "/var/lib/velnor-server");
  const CommandResult purged =
      run_command("apt-get", QStringList{"purge", "-y", "-q"} + kPackages, apt_environment(), kAptMs);
  if (!purged.ok) return purged.describe().toStdString();
  for (const char* left : {"/usr/games/velnorsolo", "/usr/sbin/velnor-server", "/etc/default/velnor-server",
                           "/var/lib/private/velnor-server", "/var/lib/velnor-server"})
    if (QFileInfo(left).exists() || QFileInfo(left).isSymLink()) return std::string(left) + " is left after the purge";
  return {};
}

// A folder's permission bits.
mode_t mode_of(const QString& path) {
  struct stat info {};
  return stat(path.toUtf8().constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// An ordinary account made for the test, with a home of its own and no settings of any kind.
struct Account {
  QString name;
  uid_t uid = 0;
  gid_t gid = 0;
  QString home;
  QString config() const { return home + "/.config/velnorsolo"; }
  QString data() const { return home + "/.local/share/velnorsolo"; }
  QString runtime() const { return "/run/user/" + QString::number(uid); }
};

class PackagedGame : public InstalledGame {
 protected:
  void SetUp() override;
  void TearDown() override;

  void add_account(const QString& name, Account& account);
  // Starts the installed game as that user, on the test's desktop, from the user's home, with
  // nothing of the test's environment but the display, the locale and the frozen clock.
  void launch_as(const Account& account);
  QStringList tally_lines_of(const Account& account) const;
  // Files under /usr changed since the packages were installed.
  QString changed_under_usr() const;

  QList<Account> accounts;  // made by the test, removed after it
  QString marker;           // touched once the packages were in place
};

void PackagedGame::SetUp() {
  ASSERT_TRUE(temp.isValid());
  folder = "/usr/games";
  marker = temp.filePath("installed");
  ASSERT_TRUE(QFile(marker).open(QIODevice::WriteOnly));
  ASSERT_NO_FATAL_FAILURE(start_desktop());
}

void PackagedGame::TearDown() {
  InstalledGame::TearDown();
  for (const Account& account : accounts) {
    QDir(account.runtime()).removeRecursively();
    const CommandResult removed = run_command("userdel", {"--remove", account.name});
    EXPECT_TRUE(removed.ok) << removed.describe().toStdString();
  }
}

void PackagedGame::add_account(const QString& name, Account& account) {
  run_command("userdel", {"--remove", name});  // left by a run that was killed
  const CommandResult added = run_command("useradd", {"--create-home", "--user-group", "--shell", "/bin/sh", name});
  ASSERT_TRUE(added.ok) << added.describe().toStdString();
  const passwd* entry = getpwnam(name.toUtf8().constData());
  ASSERT_NE(entry, nullptr);
  account = {name, entry->pw_uid, entry->pw_gid, QString::fromUtf8(entry->pw_dir)};
  accounts << account;
}

void PackagedGame::launch_as(const Account& account) {
  // A runtime folder of the user's own, where a login makes one.
  const QString runtime = account.runtime();
  ASSERT_TRUE(QDir().mkpath(runtime));
  ASSERT_EQ(chown(runtime.toUtf8().constData(), account.uid, account.gid), 0);
  QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

  const QProcessEnvironment desktop = game_environment();
  QProcessEnvironment environment;
  for (const char* name : {"DISPLAY", "LANG", "FAKETIME", "FAKETIME_DONT_FAKE_MONOTONIC", "TZ", "PULSE_SERVER",
                           "DBUS_SESSION_BUS_ADDRESS"})
    environment.insert(name, desktop.value(name));
  environment.insert("HOME", account.home);
  environment.insert("USER", account.name);
  environment.insert("LOGNAME", account.name);
  environment.insert("PATH", "/usr/local/bin:/usr/bin:/bin:/usr/games");
  environment.insert("XDG_RUNTIME_DIR", runtime);
  environment.insert(extra_environment);

  // setpriv becomes the user, and env then the game, so the process started is the game itself;
  // it is left to this process (a subreaper) when the launcher ends. The frozen clock is loaded
  // only into the game: loaded while still root, it would keep its shared state from the user.
  QProcess launcher;
  launcher.setProcessEnvironment(environment);
  launcher.setProgram("setpriv");
  launcher.setArguments({"--reuid=" + QString::number(account.uid), "--regid=" + QString::number(account.gid),
                         "--init-groups", "--", "env", "LD_PRELOAD=" + desktop.value("LD_PRELOAD"),
                         "/usr/games/velnorsolo"});
  launcher.setWorkingDirectory(account.home);
  launcher.setStandardOutputFile(log_path(), QIODevice::Append);
  launcher.setStandardErrorFile(log_path(), QIODevice::Append);
  qint64 pid = 0;
  ASSERT_TRUE(launcher.startDetached(&pid)) << launcher.errorString().toStdString();
  game = static_cast<pid_t>(pid);
}

QStringList PackagedGame::tally_lines_of(const Account& account) const {
  // The packaged tool reads it, as the user would.
  const CommandResult shown = run_command("/usr/bin/velnor-tally", {"show", account.data() + "/velnorsolotally.tld"});
  EXPECT_TRUE(shown.ok) << shown.describe().toStdString();
  return QString::fromUtf8(shown.out).split('\n', Qt::SkipEmptyParts);
}

QString PackagedGame::changed_under_usr() const {
  const CommandResult found =
      run_command("find", {"/usr", "-newer", marker}, QProcessEnvironment::systemEnvironment(), 60000);
  EXPECT_TRUE(found.ok) << found.describe().toStdString();
  return QString::fromUtf8(found.out);
}

// Two users on one machine: a whole game through the mouse for the first, a logout of the second
// run with its settings folder made read-only, and a short run for the second user. Each keeps
// their records in their own XDG folders, closed to others, and the installed files stay as the
// packages put them.
TEST_F(PackagedGame, EachUserKeepsTheirOwnRecords) {
  Account ann, bea;
  ASSERT_NO_FATAL_FAILURE(add_account("velnor-e2e-ann", ann));
  ASSERT_NO_FATAL_FAILURE(add_account("velnor-e2e-bea", bea));

  ASSERT_NO_FATAL_FAILURE(launch_as(ann));
  ASSERT_NO_FATAL_FAILURE(find_main_window());
  ASSERT_NO_FATAL_FAILURE(enter_name("Ann"));
  Played played;
  ASSERT_NO_FATAL_FAILURE(play_whole_game(played));
  std::optional<int> status = end_game(SIGTERM);
  ASSERT_TRUE(status.has_value()) << "the game did not end on SIGTERM";
  EXPECT_EQ(*status, 0) << game_output();
  // The rolls played their sound: the game found its module in the package's private folder.
  EXPECT_EQ(game_output().find("plays no sounds"), std::string::npos) << game_output();

  // The records in the user's XDG folders, each folder the user's alone; none beside the program.
  for (const QString& records : {ann.config(), ann.data()}) {
    EXPECT_EQ(QFileInfo(records).ownerId(), ann.uid) << records.toStdString();
    EXPECT_EQ(mode_of(records), 0700u) << records.toStdString() << " is not the user's alone";
  }
  const QByteArray settings = read_file(ann.config() + "/velnorsolo.ini");
  EXPECT_TRUE(settings.contains("\r\nName=Ann\r\n")) << settings.constData();
  const QStringList lines = tally_lines_of(ann);
  ASSERT_GE(lines.size(), 3) << lines.join('\n').toStdString();
  EXPECT_EQ(lines[0], "Total Games: 1");
  EXPECT_TRUE(lines[2].simplified().endsWith(QString(" Ann %1").arg(played.score))) << lines[2].toStdString();
  EXPECT_FALSE(QFile::exists("/usr/games/velnorsolo.ini"));
  EXPECT_FALSE(QFile::exists("/usr/games/velnorsolotally.tld"));

  // A logout that finds the settings unwritable ends the game at once, without a box to answer,
  // and the tally is as it was.
  const QByteArray tally = read_file(ann.data() + "/velnorsolotally.tld");
  ASSERT_NO_FATAL_FAILURE(launch_as(ann));
  ASSERT_NO_FATAL_FAILURE(find_main_window());
  ASSERT_TRUE(QFile::setPermissions(ann.config() + "/velnorsolo.ini", QFile::ReadOwner));
  ASSERT_TRUE(QFile::setPermissions(ann.config(), QFile::ReadOwner | QFile::ExeOwner));
  kill(game, SIGTERM);
  status = wait_for_exit(2000);
  ASSERT_TRUE(status.has_value()) << "the game was still running 2 s after SIGTERM: " << game_output();
  EXPECT_LT(*status, 128) << "the game was killed by signal " << *status - 128 << ": " << game_output();
  EXPECT_EQ(read_file(ann.data() + "/velnorsolotally.tld"), tally);
  EXPECT_EQ(tally_lines_of(ann).value(0), "Total Games: 1");
  EXPECT_EQ(read_file(ann.config() + "/velnorsolo.ini"), settings);

  // The second user starts afresh, with records of their own.
  ASSERT_NO_FATAL_FAILURE(launch_as(bea));
  ASSERT_NO_FATAL_FAILURE(find_main_window());
  ASSERT_NO_FATAL_FAILURE(enter_name("Bea"));
  status = end_game(SIGTERM);
  ASSERT_TRUE(status.has_value()) << "the game did not end on SIGTERM";
  EXPECT_EQ(*status, 0) << game_output();
  EXPECT_TRUE(read_file(bea.config() + "/velnorsolo.ini").contains("\r\nName=Bea\r\n"));
  EXPECT_EQ(read_file(ann.config() + "/velnorsolo.ini"), settings);
  if (QFileInfo::exists(bea.data() + "/velnorsolotally.tld")) {
    EXPECT_EQ(tally_lines_of(bea).value(0), "Total Games: 0") << "the second user has the first one's games";
  }

  EXPECT_EQ(changed_under_usr(), "") << "written under /usr while the game ran";
  const CommandResult verified = run_command("dpkg", QStringList{"--verify"} + kPackages);
  EXPECT_TRUE(verified.ok && verified.out.isEmpty()) << verified.out.toStdString() << verified.describe().toStdString();
  std::printf("%d rolls, score %d\n", played.rolls, played.score);
}

const QString kLocalAuthorities = "/usr/local/share/ca-certificates";
const QString kStore = "/etc/ssl/certs";
const QString kAuthorityFile = kLocalAuthorities + "/velnor-test-authority.crt";

QByteArray authority_pem() { return QByteArray::fromStdString(test_authority().certificate_pem()); }

// The test authority in the machine's trust store, added as an administrator adds one (a file in
// /usr/local/share/ca-certificates, then update-ca-certificates), but in a mount namespace of the
// test's own over copies of the store's two folders: the machine's store never holds it, even when
// the test is killed. Gone, it leaves the namespace, and the authority with it.
class SandboxTrust {
 public:
  SandboxTrust() = default;
  SandboxTrust(const SandboxTrust&) = delete;
  SandboxTrust& operator=(const SandboxTrust&) = delete;
  ~SandboxTrust();
  // An empty text, or what went wrong; scratch holds the copies.
  std::string add(const QString& scratch);

 private:
  int machine_ = -1;  // the machine's mount namespace, to go back to
  QString folder_;    // the working folder, which going back resets
};

std::string SandboxTrust::add(const QString& scratch) {
  folder_ = QDir::currentPath();
  machine_ = open("/proc/self/ns/mnt", O_RDONLY | O_CLOEXEC);
  // Private, so that nothing mounted here shows outside.
  if (machine_ < 0 || unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
    return std::string("no mount namespace of the test's own: ") + std::strerror(errno);
  for (const QString& folder : {kLocalAuthorities, kStore}) {
    const QString copy = scratch + folder;
    if (!QDir().mkpath(copy)) return "cannot make " + copy.toStdString();
    const CommandResult copied = run_command("cp", {"-a", folder + "/.", copy});
    if (!copied.ok) return copied.describe().toStdString();
    if (mount(copy.toUtf8().constData(), folder.toUtf8().constData(), nullptr, MS_BIND, nullptr) != 0)
      return "cannot mount over " + folder.toStdString() + ": " + std::strerror(errno);
  }
  QFile authority(kAuthorityFile);
  if (!authority.open(QIODevice::WriteOnly) || authority.write(authority_pem()) != authority_pem().size())
    return "cannot write " + kAuthorityFile.toStdString();
  authority.close();
  // The hooks (Java's keystore) would write outside the two folders, into dpkg's trigger state.
  const QString no_hooks = scratch + "/no-hooks";
  QDir().mkpath(no_hooks);
  const CommandResult updated = run_command("/usr/sbin/update-ca-certificates", {"--hooksdir", no_hooks},
                                            QProcessEnvironment::systemEnvironment(), 120000);
  if (!updated.ok) return updated.describe().toStdString();
  if (!read_file(kStore + "/ca-certificates.crt").contains(authority_pem()))
    return "update-ca-certificates left the test authority out of the store";
  return {};
}

SandboxTrust::~SandboxTrust() {
  if (machine_ < 0) return;
  EXPECT_EQ(setns(machine_, CLONE_NEWNS), 0) << "cannot go back to the machine's mounts: " << std::strerror(errno);
  close(machine_);
  QDir::setCurrent(folder_);
}

// The installed game pointed at the installed server over HTTPS (VELNOR_SERVER), the server's
// certificate from the test authority, which the machine's trust store holds for this test alone.
class PackagedHttps : public PackagedGame {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The installed server serving TLS under that identity, on the port of https:// addresses, 443,
  // or behind the relay on another; its output in its own log, named for it.
  void start_tls_server(const QString& name, const TlsIdentity& identity, int port = 443);
  // The running game's player starts a game and, once its request for a seed has passed the relay,
  // rolls once: the dice fall where the frozen clock's generator puts them, the game's own dice when
  // the server dealt it no seed.
  void roll_own_dice();
  std::size_t connections = 0;  // the game's, closed, through the relay

  Account player;
  std::optional<SandboxTrust> trust;
};

void PackagedHttps::SetUp() {
  PackagedGame::SetUp();
  ASSERT_FALSE(HasFatalFailure());
  trust.emplace();
  ASSERT_EQ(trust->add(temp.filePath("trust")), "");
  ASSERT_NO_FATAL_FAILURE(add_account("velnor-e2e-cy", player));
  extra_environment.insert("VELNOR_SERVER", "https://localhost/");
}

void PackagedHttps::TearDown() {
  PackagedGame::TearDown();
  // Its thread, made in the sandbox, shares the mounts, and would keep this one from leaving them.
  relay.reset();
  trust.reset();
  EXPECT_FALSE(read_file(kStore + "/ca-certificates.crt").contains(authority_pem()))
      << "the machine's trust store holds the test authority";
  EXPECT_FALSE(QFileInfo::exists(kAuthorityFile)) << kAuthorityFile.toStdString() << " is left";
}

void PackagedHttps::start_tls_server(const QString& name, const TlsIdentity& identity, int port) {
  if (server) {
    EXPECT_EQ(server->stop(), 0) << server->log();
    server.reset();
  }
  const std::string site = temp.path().toStdString();
  const std::string certificate = site + "/certificate.pem", key = site + "/key.pem";
  for (const auto& [path, text] : {std::pair{certificate, identity.certificate_pem}, {key, identity.key_pem}}) {
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(text.data(), qint64(text.size())) == qint64(text.size()));
  }
  server.emplace(
      site,
      std::vector<std::string>{"/usr/sbin/velnor-server", "--listen", "127.0.0.1", "--port", std::to_string(port),
                               "--data", site + "/data", "--tls-cert", certificate, "--tls-key", key},
      site + "/server-" + name.toStdString() + ".log");
  ASSERT_TRUE(server->wait_for_port(port)) << server->log();
}

void PackagedHttps::roll_own_dice() {
  x.click(layout->start_button().center());
  // Its request for a seed over before the first roll: a seed that came would be played from.
  ASSERT_TRUE(relay->wait_closed(++connections, kRoundMs)) << "START GAME asked for no seed";
  ASSERT_TRUE(wait_screen(
      kRoundMs, [&](const QImage& shot) { return shows(shot, layout->roll_button().topLeft(), pictures.roll); },
      "the roll picture of round 1"));
  DiceReplay dice(kSeed);
  dice.roll();
  x.click(layout->roll_button().center());
  ASSERT_TRUE(wait_screen(
      kTurnMs,
      [&](const QImage& shot) {
        return dice_show(shot, dice) && !shows(shot, layout->roll_button().topLeft(), pictures.roll);
      },
      "the game's own dice"));
}

// A whole game dealt over TLS, posted verified and its page shown; then a certificate for another
// host name, an expired one and a self-signed one, each refused: the game plays on from its own
// dice.
TEST_F(PackagedHttps, AVerifiedGameOverTlsAndEveryBadCertificateRefused) {
  const TestAuthority& authority = test_authority();
  // Each holds, or fails, at the game's frozen clock as it does now.
  const long frozen = seconds_to_frozen_clock();
  ASSERT_NO_FATAL_FAILURE(start_tls_server("good", authority.issue("localhost", frozen - 86400, 30 * 86400)));
  ASSERT_NO_FATAL_FAILURE(launch_as(player));
  ASSERT_NO_FATAL_FAILURE(find_main_window());
  ASSERT_NO_FATAL_FAILURE(enter_name("Cy"));
  after_start = [this] {
    // START GAME asks for the seed, which the game plays from when it comes before the first roll.
    const QDeadlineTimer deadline(kTurnMs);
    const std::string asked = "\"GET /" + std::string(velnor::wire::kSeedPath) + " ";
    while (server->log().find(asked) == std::string::npos && !deadline.hasExpired()) QThread::msleep(kPollMs);
    ASSERT_FALSE(deadline.hasExpired()) << "START GAME asked for no seed: " << server->log();
    live = true;
  };
  Played played;
  ASSERT_NO_FATAL_FAILURE(play_whole_game(played));
  EXPECT_EQ(played.dealt_rolls, played.rolls) << "a roll did not come from the server";
  x.click(layout->send_score().center());
  const quint64 scores = wait_high_score_page();
  ASSERT_NE(scores, 0u);
  const CommandResult stored = run_command("sqlite3", {store(), "SELECT name, score, verified FROM scores"});
  EXPECT_EQ(QString::fromUtf8(stored.out), QString("Cy|%1|1\n").arg(played.score)) << stored.describe().toStdString();
  std::optional<int> status = end_game(SIGTERM);
  ASSERT_TRUE(status.has_value()) << "the game did not end on SIGTERM";
  EXPECT_EQ(*status, 0) << game_output();

  const struct {
    const char* name;
    TlsIdentity identity;
  } refused[] = {{"another-host", authority.issue("elsewhere.example", frozen - 86400, 30 * 86400)},
                 {"expired", authority.issue("localhost", frozen - 2 * 86400, frozen - 86400)},
                 {"self-signed", TestAuthority::self_signed("localhost", frozen - 86400, 30 * 86400)}};
  EXPECT_EQ(server->stop(), 0) << server->log();
  server.reset();
  constexpr int kBehindRelay = 8443;
  relay.emplace(443, kBehindRelay);
  for (const auto& [name, identity] : refused) {
    SCOPED_TRACE(name);
    ASSERT_NO_FATAL_FAILURE(start_tls_server(name, identity, kBehindRelay));
    ASSERT_NO_FATAL_FAILURE(launch_as(player));
    ASSERT_NO_FATAL_FAILURE(find_main_window());
    ASSERT_NO_FATAL_FAILURE(enter_name("Cy"));
    ASSERT_NO_FATAL_FAILURE(roll_own_dice());
    status = end_game(SIGTERM);
    ASSERT_TRUE(status.has_value()) << "the game did not end on SIGTERM";
    EXPECT_EQ(*status, 0) << game_output();
  }
}

// The server's unit names the programs and pages where the package put them, and the server,
// started as the package installed it, serves its pages without being told where they are.
TEST(PackagedServer, TheUnitAndTheDefaultPagesFitTheInstall) {
  if (QFile::exists("/usr/bin/systemd-analyze")) {
    const CommandResult verified =
        run_command("systemd-analyze", {"verify", "/lib/systemd/system/velnor-server.service"});
    EXPECT_TRUE(verified.ok && verified.err.isEmpty()) << verified.describe().toStdString();
  } else {
    std::printf("systemd-analyze is missing (package systemd): the unit is not verified\n");
  }
  const QByteArray settings = read_file("/etc/default/velnor-server");
  for (const char* name : {"VELNOR_LISTEN", "VELNOR_PORT", "VELNOR_DATABASE", "VELNOR_RELEASE", "VELNOR_OPTIONS"})
    EXPECT_TRUE(settings.contains(QByteArray("\n#") + name + "=")) << name << " is not described";
  const CommandResult conffiles = run_command("dpkg-query", {"--showformat=${Conffiles}", "--show", "velnor-server"});
  EXPECT_TRUE(conffiles.out.contains("/etc/default/velnor-server")) << conffiles.out.toStdString();

  QTemporaryDir site;
  ASSERT_TRUE(site.isValid());
  const std::string folder = site.path().toStdString();
  ChildProgram server(folder, {"/usr/sbin/velnor-server", "--port", "80", "--data", folder + "/data"},
                      folder + "/server.log");
  ASSERT_TRUE(server.wait_for_port(80)) << server.log();
  const CommandResult page = run_command("curl", {"-sS", "--fail", "http://127.0.0.1/"});
  EXPECT_TRUE(page.ok) << page.describe().toStdString() << server.log();
  EXPECT_EQ(page.out, read_file("/usr/share/velnor-server/www/index.html"));
  EXPECT_EQ(server.stop(), 0) << server.log();
}

}  // namespace

int main(int argc, char** argv) {
  // The packages' folder: the first argument that is not one of GoogleTest's flags.
  deb_dir = qEnvironmentVariable("VELNOR_DEB_DIR");
  for (int i = 1; i < argc; ++i)
    if (argv[i][0] != '-') deb_dir = QString::fromLocal8Bit(argv[i]);
  // Read before GoogleTest takes its flags out of argv, which leaves argc behind.
  const bool listing = listing_only(argc, argv);
  if (!listing) {
    if (const std::string failed = install_packages(); !failed.empty()) {
      std::fprintf(stderr, "The packages could not be installed: %s\n", failed.c_str());
      return 1;
    }
  }
  int status = run_installed_game_tests(argc, argv);
  if (!listing) {
    if (const std::string failed = purge_packages(); !failed.empty()) {
      std::fprintf(stderr, "The packages could not be purged: %s\n", failed.c_str());
      status = 1;
    }
  }
  return status;
}
