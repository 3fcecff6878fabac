#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include "online/installerdownload.h"
#include "online/thttpcli.h"
#include "online/thttpget.h"

class QEvent;
class QLabel;

namespace velnor {

class Dialogs;
class TFlatPanel;
class TSelButton;

// What the update needs from the program around it.
struct UpdateServices {
  std::string base;     // the game server's base address
  std::string appname;  // the product key: names the server folder
  std::filesystem::path program_file;
  PostToUi post_to_ui;
  std::string own_version;  // only a newer version than this is offered and installed
  std::string release_key;  // the public key whose signature an installer must carry to be run
  // Starts a program detached with an argument list; true when it started.
  std::function<bool(const QString& program, const QStringList& args)> start_detached;
  std::function<void()> before_install;  // saves what the run must not lose
  std::function<void(int)> end_process;  // ends the program at once
  Dialogs* dialogs = nullptr;
};

// The update offer on the main window's panel_update: asks the server for the
// current version text, offers it when it is newer than the game's own and, if
// the player agrees, downloads the installer and starts it once its signed
// statement holds for that version and those bytes. The download runs on a
// worker; CANCEL, or closing the main window, ends it.
class UpdatePanel : public QObject {
  Q_OBJECT
 public:
  UpdatePanel(TFlatPanel* panel_update, UpdateServices services);

  // Starts the version check (the main window's show handler calls it).
  void check();
  void button_updateyesClick();
  void button_updatecancelClick();
  void downloadit();
  bool downloading() const { return download_.running(); }

  THTTPGet checkupdate;
  THttpCli getupdate;
  TSelButton* button_updateyes = nullptr;
  TSelButton* button_updatecancel = nullptr;
  QLabel* label_update = nullptr;
  // How long "Download Aborted" stays up before the panel clears the board.
  std::chrono::milliseconds aborted_notice = std::chrono::seconds(3);

 private:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void checkupdateDoneString(int status, const std::string& version);
  void downloaded(const std::filesystem::path& installer, const InstallerDownload::Outcome& outcome);
  void aborted();
  void install(const std::filesystem::path& installer);
  std::filesystem::path backup_path() const;
  // An installer that did not start leaves the game as it was: its program
  // file back under its own name and no installer lying about.
  void undo(const std::filesystem::path& installer);

  TFlatPanel* panel_;
  UpdateServices services_;
  InstallerDownload download_;
  bool declined_ = false;        // CANCEL: the panel is gone for this run
  std::string offered_version_;  // the version text the panel offers
};

}  // namespace velnor
