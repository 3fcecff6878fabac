#include "tmain.h"

// The window's menus and the wiring of the board's controls and timers to its handlers.
#include <QAction>
#include <QLineEdit>
#include <QMenuBar>
#include <QShortcut>
#include <QTimer>

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
  QMenu* file1 = menuBar()->addMenu("&File");
  file1->setObjectName("file1");
  StartGame1 = file1->addAction("Start Game", this, &Tmain::StartGame1Click);
  StartGame1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  file1->addSeparator()->setObjectName("N1");
  Exit1 = file1->addAction("Exit", this, &Tmain::close);

  QMenu* options1 = menuBar()->addMenu("&Options");
  options1->setObjectName("Options1");
  PlaySounds1 = options1->addAction("Play Sounds", this, &Tmain::PlaySounds1Click);
  PlaySounds1->setCheckable(true);
  PlaySounds1->setChecked(true);
  ResetScreenLocation1 = options1->addAction("Reset Screen Location", this, &Tmain::ResetScreenLocation1Click);
  ChangeName1 = options1->addAction("Change  Name", this, &Tmain::ChangeName1Click);
  updatecheck = options1->addAction("Automatically Check for Updates", this, &Tmain::updatecheckClick);
  updatecheck->setCheckable(true);
  updatecheck->setChecked(true);
  // Kept all the same, so that the settings file keeps its value for a portable copy.
  updatecheck->setVisible(services_.self_update);
  options1->addSeparator()->setObjectName("N3");
  ShowBestMove1 = options1->addAction("Show Best Move", this, &Tmain::ShowBestMove1Click);
  ShowBestMove1->setShortcut(QKeySequence(Qt::Key_H));
  // Not kept in the settings: each run starts without it.
  AlwaysShowBestMove1 = options1->addAction("Always Show Best Move", this, &Tmain::ShowBestMove1Click);
  AlwaysShowBestMove1->setCheckable(true);

  QMenu* view1 = menuBar()->addMenu("&View");
  view1->setObjectName("View1");
  TallyList1 = view1->addAction("Tally List", this, &Tmain::TallyList1Click);
  ViewHighScoreList1 = view1->addAction("View High Score List", this, &Tmain::button_highscoresClick);
  Coach1 = view1->addAction("Coach", this, &Tmain::Coach1Click);
  Coach1->setShortcut(QKeySequence(Qt::Key_C));

  QMenu* help1 = menuBar()->addMenu("&Help");
  help1->setObjectName("Help1");
  Help2 = help1->addAction("Help", this, &Tmain::Help2Click);
  Help2->setShortcut(QKeySequence(Qt::Key_F1));
  help1->addSeparator()->setObjectName("N2");
  About1 = help1->addAction("About", this, &Tmain::About1Click);

  MultiplayerVersionofVelnor1 =
      menuBar()->addAction("&Multiplayer Version of Velnor", this, &Tmain::MultiplayerVersionofVelnor1Click);

  const std::pair<QAction*, const char*> names[] = {{StartGame1, "StartGame1"},
                                                    {Exit1, "Exit1"},
                                                    {PlaySounds1, "PlaySounds1"},
                                                    {ResetScreenLocation1, "ResetScreenLocation1"},
                                                    {ChangeName1, "ChangeName1"},
                                                    {updatecheck, "updatecheck"},
                                                    {ShowBestMove1, "ShowBestMove1"},
                                                    {AlwaysShowBestMove1, "AlwaysShowBestMove1"},
                                                    {TallyList1, "TallyList1"},
                                                    {ViewHighScoreList1, "ViewHighScoreList1"},
                                                    {Coach1, "Coach1"},
                                                    {Help2, "Help2"},
                                                    {About1, "About1"},
                                                    {MultiplayerVersionofVelnor1, "MultiplayerVersionofVelnor1"}};
  for (const auto& [action, name] : names) action->setObjectName(name);
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
  updater = std::make_unique<UpdatePanel>(panel_update, UpdateServices{.base = VELNOR_SERVER_BASE,
                                                                       .appname = std::string(wire::kProductKey),
                                                                       .program_file = services_.program_file,
                                                                       .post_to_ui = services_.post_to_ui,
                                                                       .own_version = std::string(kVersion),
                                                                       .release_key = services_.release_key,
                                                                       .start_detached = services_.start_detached,
                                                                       .before_install =
                                                                           [this] {
                                                                             tally_->savetally();
                                                                             saveinifile();
                                                                           },
                                                                       .end_process = services_.end_process,
                                                                       .dialogs = services_.dialogs});
}

}  // namespace velnor
