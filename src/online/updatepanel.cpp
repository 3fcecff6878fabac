#include "updatepanel.h"

#include <QEvent>
#include <QLabel>
#include <QTimer>

#include "core/dottedversion.h"
#include "core/serveraddress.h"
#include "core/wire.h"
#include "windows/dialogs.h"
#include "windows/formcontrols.h"
#include "windows/tcolor.h"
#include "windows/tflatpanel.h"
#include "windows/tfont.h"
#include "windows/tselbutton.h"

namespace velnor {

namespace fs = std::filesystem;

namespace {

const QStringList kInstallerSwitches = {"/SP-", "/silent", "/noicons"};
const char* const kRefusedText = QT_TRANSLATE_NOOP(
    "velnor::UpdatePanel", "Download Aborted: the server's update was refused, and the game stays as it is.");

}  // namespace

UpdatePanel::UpdatePanel(TFlatPanel* panel_update, UpdateServices services)
    : QObject(),
      checkupdate(services.post_to_ui),
      panel_(panel_update),
      services_(std::move(services)),
      download_(getupdate, services_.post_to_ui) {
  const auto centred = Qt::AlignHCenter | Qt::AlignTop;
  make_label(panel_, "Label6", tr("Update Available"), QRect(0, 12, 329, 24), tfont(kFormFont, 14, {.bold = true}),
             kPaleYellow, centred);
  make_label(panel_, "Label7", tr("Would you like to update now?"), QRect(0, 44, 329, 20),
             tfont(kFormFont, 10, {.bold = true}), kPaleYellow, centred);
  button_updateyes = make_button(panel_, "button_updateyes", tr("UPDATE"), QRect(46, 76, 111, 36));
  button_updatecancel = make_button(panel_, "button_updatecancel", tr("CANCEL"), QRect(172, 76, 111, 36));
  label_update = make_label(panel_, "label_update", "", QRect(4, 130, 321, 20), tfont(kFormFont, 10, {.bold = true}),
                            kPaleYellow, centred);
  connect(button_updateyes, &TSelButton::click, this, [this] { button_updateyesClick(); });
  connect(button_updatecancel, &TSelButton::click, this, [this] { button_updatecancelClick(); });
  checkupdate.OnDoneString = [this](THTTPGet* sender, const std::string& version) {
    checkupdateDoneString(sender->status_code(), version);
  };
  panel_->window()->installEventFilter(this);
}

bool UpdatePanel::eventFilter(QObject*, QEvent* event) {
  // The program is ending: a download under way ends as a failure, and what it wrote goes.
  if (event->type() == QEvent::Close && download_.running()) {
    aborted();
    download_.cancel();
  }
  return false;
}

void UpdatePanel::check() {
  checkupdate.URL = services_.base + std::string(wire::kVersionPath);
  checkupdate.FetchString();
}

void UpdatePanel::checkupdateDoneString(int status, const std::string& version) {
  // An error page is no version text: a server without release files offers nothing.
  if (status < 200 || status > 299) return;
  // Only a newer version: an older one, however well signed, would take back what was mended
  // since, and a text that is no version (an error page, a stray line break) offers nothing.
  if (!is_newer_version(version, services_.own_version)) return;
  offered_version_ = version;
  panel_->show();
  panel_->raise();
}

void UpdatePanel::button_updatecancelClick() {
  declined_ = true;
  download_.cancel();
  panel_->hide();
}

fs::path UpdatePanel::backup_path() const {
  fs::path backup = services_.program_file;
  return backup.replace_extension(".BAK");
}

void UpdatePanel::button_updateyesClick() {
  // CANCEL stays: it stops the download.
  button_updateyes->hide();
  label_update->setText(tr("Updating. Please Wait..."));
  downloadit();
}

void UpdatePanel::downloadit() {
  const std::string url = services_.base + std::string(wire::kInstallerPath);
  const fs::path installer = services_.program_file.parent_path() / url.substr(url.rfind('/') + 1);
  download_.start({url, installer, services_.release_key, offered_version_, services_.own_version},
                  [this, installer](const InstallerDownload::Outcome& outcome) { downloaded(installer, outcome); });
}

void UpdatePanel::downloaded(const fs::path& installer, const InstallerDownload::Outcome& outcome) {
  // The player said no: the download left nothing, and nothing more is shown.
  if (declined_) return;
  if (!outcome.verified) {
    aborted();
    if (!outcome.local_error.empty()) services_.dialogs->error(panel_, QString::fromStdString(outcome.local_error));
    if (!outcome.refusal.empty())
      services_.dialogs->problem(panel_, tr(kRefusedText), QString::fromStdString(outcome.refusal));
    return;
  }
  button_updatecancel->hide();
  label_update->setText(tr("Received %1 bytes").arg(outcome.size));
  install(installer);
}

void UpdatePanel::aborted() {
  button_updatecancel->hide();
  label_update->setText(tr("Download Aborted"));
  // Long enough to be read; then the board is the player's again.
  QTimer::singleShot(aborted_notice, panel_, &QWidget::hide);
}

void UpdatePanel::undo(const fs::path& installer) {
  std::error_code ignored;
  fs::remove(installer, ignored);
  if (!fs::exists(services_.program_file, ignored)) fs::rename(backup_path(), services_.program_file, ignored);
}

void UpdatePanel::install(const fs::path& installer) {
  label_update->setText(tr("Installing"));
  std::error_code ignored;
  fs::permissions(installer, fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                  fs::perm_options::add, ignored);
  services_.before_install();
  // Only a signed installer takes the program file's place, just before it starts.
  fs::remove(backup_path(), ignored);
  fs::rename(services_.program_file, backup_path(), ignored);
  if (services_.start_detached(QString::fromStdString(installer.string()), kInstallerSwitches)) {
    services_.end_process(0);
    return;
  }
  undo(installer);
  services_.dialogs->message(panel_, tr("There was an error in the update process. Please download%1 manually from %2.")
                                         .arg(QString::fromStdString(services_.appname).toUpper(),
                                              QString::fromStdString(maker_home(services_.base))));
}

}  // namespace velnor
