#include "tmain.h"

// The window's menus and the wiring of the board's controls and timers to its handlers.
#include <QAction>
#include <QLineEdit>
#include <QMenuBar>
#include <QShortcut>
#include <QTimer>

#include "core/serveraddress.h"
#include "core/version.h"
#include "core/wire.h"
#include "game/tanimated.h"
#include "online/updatepanel.h"
#include "records/tallycalls.h"
#include "windows/timage.h"
#include "windows/tselbutton.h"

namespace velnor {

void Tmain::build_menus() {
  // Alt and a caption's underlined letter open its menu; F10 opens the first, as desktops do.
  connect(new QShortcut(QKeySequence(Qt::Key_F10), this), &QShortcut::activated, this,
          [this] { menuBar()->setActiveAction(menuBar()->actions().constFirst()); });
  // Each menu and item is named as the other windows and the tests find it.
  const auto menu = [this](const char* name, const QString& caption) {
    QMenu* added = menuBar()->addMenu(caption);
    added->setObjectName(name);
    return added;
  };
  const auto item = [this](QWidget* in, const char* name, const QString& caption, auto handler,
                           const QKeySequence& keys = {}) {
    QAction* action = in->addAction(caption, this, handler);
    action->setObjectName(name);
    action->setShortcut(keys);
    return action;
  };
  QMenu* file1 = menu("file1", tr("&File"));
  StartGame1 = item(file1, "StartGame1", tr("Start Game"), &Tmain::StartGame1Click, Qt::CTRL | Qt::Key_S);
  file1->addSeparator()->setObjectName("N1");
  Exit1 = item(file1, "Exit1", tr("Exit"), &Tmain::close);

  QMenu* options1 = menu("Options1", tr("&Options"));
  PlaySounds1 = item(options1, "PlaySounds1", tr("Play Sounds"), &Tmain::PlaySounds1Click);
  PlaySounds1->setCheckable(true);
  PlaySounds1->setChecked(true);
  ResetScreenLocation1 =
      item(options1, "ResetScreenLocation1", tr("Reset Screen Location"), &Tmain::ResetScreenLocation1Click);
  ChangeName1 = item(options1, "ChangeName1", tr("Change  Name"), &Tmain::ChangeName1Click);
  updatecheck = item(options1, "updatecheck", tr("Automatically Check for Updates"), &Tmain::updatecheckClick);
  updatecheck->setCheckable(true);
  updatecheck->setChecked(true);
  // Kept all the same, so that the settings file keeps its value for a portable copy; out of the
  // menu, and so of a screen reader's view, in a copy that updates by its package manager.
  if (!services_.self_update) options1->removeAction(updatecheck);
  Verified1 = item(options1, "Verified1", tr("Verified Games (Online)"), &Tmain::saveinifile);
  Verified1->setCheckable(true);
  Verified1->setChecked(true);
  options1->addSeparator()->setObjectName("N3");
  ShowBestMove1 = item(options1, "ShowBestMove1", tr("Show Best Move"), &Tmain::ShowBestMove1Click, Qt::Key_H);
  // Not kept in the settings: each run starts without it.
  AlwaysShowBestMove1 = item(options1, "AlwaysShowBestMove1", tr("Always Show Best Move"), &Tmain::ShowBestMove1Click);
  AlwaysShowBestMove1->setCheckable(true);

  QMenu* view1 = menu("View1", tr("&View"));
  TallyList1 = item(view1, "TallyList1", tr("Tally List"), &Tmain::TallyList1Click);
  ViewHighScoreList1 = item(view1, "ViewHighScoreList1", tr("View High Score List"), &Tmain::button_highscoresClick);
  Coach1 = item(view1, "Coach1", tr("Coach"), &Tmain::Coach1Click, Qt::Key_C);

  QMenu* help1 = menu("Help1", tr("&Help"));
  Help2 = item(help1, "Help2", tr("Help"), &Tmain::Help2Click, Qt::Key_F1);
  help1->addSeparator()->setObjectName("N2");
  About1 = item(help1, "About1", tr("About"), &Tmain::About1Click);

  MultiplayerVersionofVelnor1 = item(menuBar(), "MultiplayerVersionofVelnor1", tr("&Multiplayer Version of Velnor"),
                                     &Tmain::MultiplayerVersionofVelnor1Click);
}

void Tmain::connect_board() {
  for (TAnimated* number : tiles)
    connect(number, &TAnimated::mouseDown, this, [this](TAnimated* sender) { number_1MouseDown(sender); });
  connect(button_start, &TSelButton::click, this, &Tmain::button_startClick);
  connect(image_logo, &TImage::click, this, &Tmain::image_logoClick);
  connect(button_roll, &TImage::click, this, &Tmain::button_rollClick);
  connect(button_sendscore, &TSelButton::click, this, &Tmain::button_sendscoreClick);
  connect(button_highscore, &TSelButton::click, this, &Tmain::button_highscoresClick);
  connect(button_done, &TSelButton::click, this, &Tmain::button_cancelClick);
  connect(button_namedone, &TSelButton::click, this, &Tmain::button_namedoneClick);
  connect(button_namecancel, &TSelButton::click, this, &Tmain::button_namecancelClick);
  connect(edit_aname, &QLineEdit::returnPressed, this, &Tmain::button_namedoneClick);
  connect(pausetimer, &QTimer::timeout, this, &Tmain::pausetimerTimer);
  connect(Timer1, &QTimer::timeout, this, &Tmain::Timer1Timer);
}

// The update offer's controls, and what the update needs of the program around it.
void Tmain::build_update_panel() {
  const auto save_all = [this] {
    tally_->savetally();
    saveinifile();
  };
  updater = std::make_unique<UpdatePanel>(panel_update, UpdateServices{.base = server_base(),
                                                                       .appname = std::string(wire::kProductKey),
                                                                       .program_file = services_.program_file,
                                                                       .post_to_ui = services_.post_to_ui,
                                                                       .own_version = std::string(kVersion),
                                                                       .release_key = services_.release_key,
                                                                       .start_detached = services_.start_detached,
                                                                       .before_install = save_all,
                                                                       .end_process = services_.end_process,
                                                                       .dialogs = services_.dialogs});
}

}  // namespace velnor
