#include "tmain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QKeyEvent>
#include <QLocale>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>

#include "app/dialogs.h"
#include "app/instancelock.h"
#include "game/soundplayer.h"
#include "game/tallycalls.h"
#include "game/tanimated.h"
#include "online/postingdate.h"
#include "online/thighscore.h"
#include "online/updatepanel.h"
#include "records/profilefile.h"
#include "records/safefile.h"
#include "records/unreadablefile.h"
#include "windows/tcolor.h"
#include "windows/tflatpanel.h"
#include "windows/tlbbackground.h"
#include "windows/tfont.h"
#include "windows/timage.h"
#include "windows/turl.h"
#include "windows/formcontrols.h"
#include "windows/tselbutton.h"
#include "windows/panelfocus.h"
#include "windows/windowplacement.h"

namespace velnor {

namespace {

constexpr int kTileLefts[9] = {153, 208, 263, 318, 373, 428, 483, 538, 594};
constexpr int kRoundTops[10] = {15, 36, 57, 79, 100, 121, 142, 164, 185, 206};
constexpr std::uint32_t kEditColor = 0x00E8FFFF;    // #FFFFE8
constexpr std::uint32_t kScoreGreen = 0x0000D500;   // #00D500
constexpr std::uint32_t kPostingRed = 164;          // #A40000
const QString kFont = QStringLiteral("MS Sans Serif");

QLineEdit* make_edit(QWidget* parent, const QString& name, const QRect& bounds) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setGeometry(bounds);
  edit->setMaxLength(10);
  edit->setFont(tfont(kFont, 14));
  QPalette palette = edit->palette();
  palette.setColor(QPalette::Base, tcolor(kEditColor));
  palette.setColor(QPalette::Text, tcolor(clBlack));
  edit->setPalette(palette);
  return edit;
}

}  // namespace

Tmain::Tmain(MainServices services, QWidget* parent)
    : QMainWindow(parent), services_(std::move(services)) {
  setObjectName("Tmain");
  setWindowTitle("Velnor Solo");
  setWindowIcon(resource_icon(":/images/icon.png"));
  set_window_color(this, kWindowColor);
  LbBackground1 = new TLbBackground(this);
  LbBackground1->setObjectName("LbBackground1");
  LbBackground1->setEnabled(true);
  setFont(tfont(kFont, 8));
  build_menus();
  build_board();
  FormCreate();
  // The loaded bounds are the outer frame's, which the window manager makes only
  // once the window is on the screen.
  keep_placed(this, PlaceAt::first_show, [this] { return fit_into(remembered_, work_area_for(remembered_)); });
}

Tmain::~Tmain() = default;

void Tmain::FormCreate() {
  appname_ = "velnorsolo";
  installername_ = "vnssetup.exe";
  mutex_ = std::make_unique<InstanceLock>(appname_.toStdString());
  defaultwidth_ = 681;
  defaultheight_ = 327;
  services_.random->setseed(services_.seed_source());
  loadinifile();
  // No game runs until START GAME: the rules object starts with gameon cleared.
  playsounds("entered");
  ChangeName1Click();
  button_roll->hide();
}

void Tmain::build_menus() {
  QMenu* file1 = menuBar()->addMenu("File");
  file1->setObjectName("file1");
  StartGame1 = file1->addAction("Start Game", this, &Tmain::StartGame1Click);
  StartGame1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  file1->addSeparator()->setObjectName("N1");
  Exit1 = file1->addAction("Exit", this, &Tmain::close);

  QMenu* options1 = menuBar()->addMenu("Options");
  options1->setObjectName("Options1");
  PlaySounds1 = options1->addAction("Play Sounds", this, &Tmain::PlaySounds1Click);
  PlaySounds1->setCheckable(true);
  PlaySounds1->setChecked(true);
  ResetScreenLocation1 =
      options1->addAction("Reset Screen Location", this, &Tmain::ResetScreenLocation1Click);
  ChangeName1 = options1->addAction("Change  Name", this, &Tmain::ChangeName1Click);
  updatecheck = options1->addAction("Automatically Check for Updates", this, &Tmain::updatecheckClick);
  updatecheck->setCheckable(true);
  updatecheck->setChecked(true);

  QMenu* view1 = menuBar()->addMenu("View");
  view1->setObjectName("View1");
  TallyList1 = view1->addAction("Tally List", this, &Tmain::TallyList1Click);
  ViewHighScoreList1 = view1->addAction("View High Score List", this, &Tmain::button_highscoresClick);

  QMenu* help1 = menuBar()->addMenu("Help");
  help1->setObjectName("Help1");
  Help2 = help1->addAction("Help", this, &Tmain::Help2Click);
  Help2->setShortcut(QKeySequence(Qt::Key_F1));
  help1->addSeparator()->setObjectName("N2");
  About1 = help1->addAction("About", this, &Tmain::About1Click);

  MultiplayerVersionofVelnor1 = menuBar()->addAction("Multiplayer Version of Velnor", this,
                                                    &Tmain::MultiplayerVersionofVelnor1Click);

  const std::pair<QAction*, const char*> names[] = {
      {StartGame1, "StartGame1"}, {Exit1, "Exit1"},
      {PlaySounds1, "PlaySounds1"}, {ResetScreenLocation1, "ResetScreenLocation1"},
      {ChangeName1, "ChangeName1"}, {updatecheck, "updatecheck"},
      {TallyList1, "TallyList1"}, {ViewHighScoreList1, "ViewHighScoreList1"},
      {Help2, "Help2"}, {About1, "About1"},
      {MultiplayerVersionofVelnor1, "MultiplayerVersionofVelnor1"}};
  for (const auto& [action, name] : names) action->setObjectName(name);
}

void Tmain::build_board() {
  auto* client = new QWidget(this);
  client->setObjectName("client");
  // The client area never shrinks below the board and a small margin.
  client->setMinimumSize(681 + 5, 322 + 5);
  // The board takes the keyboard whenever no edit box is in use: the keys of the game go to it.
  client->setFocusPolicy(Qt::StrongFocus);
  setCentralWidget(client);

  panel_board = make_panel(client, "panel_board", QRect(0, 3, 681, 322), true, kWindowColor);
  label_name = make_label(panel_board, "label_name", "Welcome to Velnor Solo!",
                          QRect(11, 5, 313, 16), tfont(kFont, 10), kPaleYellow);

  panel_board1 = make_panel(panel_board, "panel_board1", QRect(6, 26, 670, 291), true, clBlack);
  auto* image4 = make_picture(panel_board1, "Image4", QRect(146, 128, 503, 120),
                              ":/images/backdrop_tiles.jpg");
  image4->lower();

  for (int n = 1; n <= 9; ++n) {
    auto* number = new TAnimated(panel_board1);
    number->setObjectName(QString("number_%1").arg(n));
    number->setTag(n);
    number->setGeometry(kTileLefts[n - 1], 128, 48, 91);
    number->setCursor(Qt::PointingHandCursor);
    number->setHint("u");
    number->setInterval(100);
    number->setFrameCount(5);
    number->setFrame(0);
    number->setPlay(false);
    number->setReverse(false);
    number->setLoop(false);
    number->setTransparentColor(clNone);
    number->setBitMap(resource_picture(QString(":/images/tiles/tile%1.png").arg(n)).toImage());
    number->resize(48, 91);
    connect(number, &TAnimated::mouseDown, this, [this](TAnimated* sender) { number_1MouseDown(sender); });
  }

  // The score line grows with its text, as the form's self-sizing label does.
  label_score = make_label(panel_board1, "label_score", "Score: 0", QRect(151, 223, 150, 20),
                           tfont(kFont, 12, {.bold = true}), kPaleYellow);
  label_roundnum = make_label(panel_board1, "label_roundnum", "Round: 0 of 10",
                              QRect(492, 223, 151, 20), tfont(kFont, 12, {.bold = true}),
                              kPaleYellow, Qt::AlignRight | Qt::AlignTop);
  button_start = make_button(panel_board1, "button_start", "START GAME", QRect(19, 253, 125, 27));
  connect(button_start, &TSelButton::click, this, [this] { button_startClick(); });
  image_logo = make_picture(panel_board1, "image_logo", QRect(462, 250, 185, 32),
                            ":/images/logo.png");
  image_logo->setCursor(Qt::PointingHandCursor);
  connect(image_logo, &TImage::click, this, [this] { image_logoClick(); });

  build_dicepanel(panel_board1);
  build_roundcolumn(panel_board1);
  build_panel_cleared(panel_board1);
  build_panel_name(panel_board1);
  return_focus_on_hide(panel_cleared, client);
  return_focus_on_hide(panel_name, client);
  // Filled by the update offer; hidden until an update is found.
  panel_update = make_panel(panel_board1, "panel_update", QRect(230, 40, 329, 161), false, clBlack);
  panel_update->hide();
  updater = std::make_unique<UpdatePanel>(panel_update, UpdateServices{
      VELNOR_SERVER_BASE, "velnorsolo", "vnssetup.exe", services_.program_file,
      services_.post_to_ui,
      [this] {
        const QLabel* version = aboutwindow_ ? aboutwindow_->findChild<QLabel*>("version") : nullptr;
        return version ? version->text() : QString();
      },
      services_.start_detached,
      [this] {
        tally_->savetally();
        try {
          saveinifile();
        } catch (const std::exception&) {
          // The installer goes ahead; the settings are the player's to set again.
        }
      },
      services_.end_process, [this] { return closing_; }, services_.dialogs});

  pausetimer = new QTimer(this);
  pausetimer->setObjectName("pausetimer");
  pausetimer->setInterval(1000);
  connect(pausetimer, &QTimer::timeout, this, &Tmain::pausetimerTimer);
  Timer1 = new QTimer(this);
  Timer1->setObjectName("Timer1");
  Timer1->setInterval(1000);
  connect(Timer1, &QTimer::timeout, this, &Tmain::Timer1Timer);
}

void Tmain::build_dicepanel(QWidget* board1) {
  panel_dicepanel = make_panel(board1, "panel_dicepanel", QRect(145, 8, 505, 121), true, clBlack);
  auto* felt = make_picture(panel_dicepanel, "Image1", QRect(1, 1, 503, 119),
                            ":/images/backdrop_dice.jpg");
  felt->lower();
  make_label(panel_dicepanel, "Label2", "SHUT TOTAL", QRect(17, 18, 81, 13),
             tfont(kFont, 8, {.bold = true}), clBlack);
  label_total = make_label(panel_dicepanel, "label_total", "0", QRect(32, 30, 37, 37),
                           tfont(kFont, 26, {.bold = true}), clBlack, Qt::AlignHCenter | Qt::AlignTop);

  const QPixmap strip = resource_picture(":/images/dice.png");
  for (int k = 0; k < 7; ++k) imagelist_dice[k] = picture_part(strip, QRect(k * 32, 0, 32, 32));
  dice1 = new QLabel(panel_dicepanel);
  dice1->setObjectName("dice1");
  dice1->setGeometry(19, 67, 32, 32);
  dice2 = new QLabel(panel_dicepanel);
  dice2->setObjectName("dice2");
  dice2->setGeometry(59, 67, 32, 32);

  button_roll = make_picture(panel_dicepanel, "button_roll", QRect(376, 64, 102, 27),
                             ":/images/roll.png");
  button_roll->setCursor(Qt::PointingHandCursor);
  connect(button_roll, &TImage::click, this, [this] { button_rollClick(); });

  label_status = make_label(panel_dicepanel, "label_status", "Welcome to Velnor Solo",
                            QRect(12, 90, 480, 14), tfont(kFont, 10, {.bold = true}), clBlack,
                            Qt::AlignHCenter | Qt::AlignTop);
}

void Tmain::build_roundcolumn(QWidget* board1) {
  FlatPanel1 = make_panel(board1, "FlatPanel1", QRect(22, 8, 123, 241), false, clBlack);
  make_picture(FlatPanel1, "Image2", QRect(1, 1, 121, 239), ":/images/rounds.png");
  const QFont font = tfont(kFont, 13, {.bold = true});
  for (int r = 1; r <= 10; ++r) {
    const int top = kRoundTops[r - 1];
    make_label(FlatPanel1, QString("Label_round%1").arg(r), QString::number(r),
               QRect(r == 10 ? 50 : 55, top, 24, 20), font, kPaleYellow);
    make_label(FlatPanel1, QString("label_r%1").arg(r), "0", QRect(85, top, 30, 20), font, clBlack);
  }
}

void Tmain::build_panel_cleared(QWidget* board1) {
  panel_cleared = make_panel(board1, "panel_cleared", QRect(222, 8, 329, 265), false, clBlack);
  make_picture(panel_cleared, "Image3", QRect(8, 8, 97, 104), ":/images/gameover.png");
  make_label(panel_cleared, "Label3", "Game Over!", QRect(111, 5, 210, 24),
             tfont(kFont, 14, {.bold = true, .underline = true}), kPaleYellow,
             Qt::AlignHCenter | Qt::AlignTop);
  label_score1 = make_label(panel_cleared, "label_score1", "Your Score: ", QRect(112, 32, 217, 24),
                            tfont(kFont, 14, {.bold = true}), kScoreGreen,
                            Qt::AlignHCenter | Qt::AlignTop);
  make_label(panel_cleared, "Label4", "Enter Your Name", QRect(112, 60, 210, 20),
             tfont(kFont, 10, {.bold = true}), kPaleYellow, Qt::AlignHCenter | Qt::AlignTop);
  edit_name = make_edit(panel_cleared, "edit_name", QRect(136, 82, 161, 32));
  button_sendscore = make_button(panel_cleared, "button_sendscore", "SEND SCORE", QRect(78, 126, 172, 36));
  button_sendscore->setColorBorder(kPostingRed);
  button_sendscore->setColorOverCaption(kPostingRed);
  button_sendscore->setFontColor(clGray);
  button_highscore = make_button(panel_cleared, "button_highscore", "VIEW HIGH SCORES",
                                 QRect(78, 178, 172, 36));
  connect(button_sendscore, &TSelButton::click, this, [this] { button_sendscoreClick(); });
  connect(button_highscore, &TSelButton::click, this, [this] { button_highscoresClick(); });
  button_done = make_button(panel_cleared, "button_done", "DONE", QRect(109, 219, 111, 36));
  connect(button_done, &TSelButton::click, this, [this] { button_cancelClick(); });

  panel_wait = make_panel(panel_cleared, "panel_wait", QRect(9, 122, 309, 49), false, kWindowColor);
  panel_wait->setCaption("Posting Score, Please Wait......");
  panel_wait->setFont(tfont(kFont, -19));
  panel_wait->setFontColor(kPaleYellow);
  panel_wait->hide();
  panel_cleared->hide();
}

void Tmain::build_panel_name(QWidget* board1) {
  panel_name = make_panel(board1, "panel_name", QRect(231, 40, 329, 161), false, clBlack);
  make_label(panel_name, "Label5", "ENTER YOUR NAME", QRect(0, 14, 329, 24),
             tfont(kFont, 14, {.bold = true}), kPaleYellow, Qt::AlignHCenter | Qt::AlignTop);
  edit_aname = make_edit(panel_name, "edit_aname", QRect(84, 52, 161, 32));
  button_namedone = make_button(panel_name, "button_namedone", "DONE", QRect(46, 108, 111, 36));
  button_namedone->setFontColor(clGray);
  button_namecancel = make_button(panel_name, "button_namecancel", "CANCEL", QRect(172, 108, 111, 36));
  button_namecancel->setFontColor(clGray);
  connect(button_namedone, &TSelButton::click, this, [this] { button_namedoneClick(); });
  connect(button_namecancel, &TSelButton::click, this, [this] { button_namecancelClick(); });
  connect(edit_aname, &QLineEdit::returnPressed, this, [this] { button_namedoneClick(); });
  panel_name->hide();
}

QRect Tmain::bounds() const { return outer_bounds(this); }

void Tmain::set_bounds(const QRect& outer) { set_outer_bounds(this, outer); }

TAnimated* Tmain::tile(int n) const {
  return findChild<TAnimated*>(QString("number_%1").arg(n));
}

void Tmain::playsounds(CueName name) {
  if (PlaySounds1->isChecked()) services_.sounds->play(QString::fromLatin1(name.text()));
}

void Tmain::slideup(int n) {
  TAnimated* number = tile(n);
  if (number->hint() == "u") return;
  number->setHint("u");
  number->setReverse(true);
  number->setFrame(4);
  number->setPlay(true);
  playsounds("slide");
}

void Tmain::slidedown(int n) {
  TAnimated* number = tile(n);
  number->setHint("d");
  number->setReverse(false);
  number->setFrame(0);
  number->setPlay(true);
  playsounds("slide");
}

void Tmain::button_startClick() {
  panel_wait->hide();
  panel_name->hide();
  panel_cleared->hide();
  tally_->addtomineincrease(1);
  for (int r = 1; r <= 10; ++r) findChild<QLabel*>(QString("label_r%1").arg(r))->setText("0");
  scoretag_ = 0;
  label_score->setText("Score: 0");
  game_.newgame();
  label_name->setText("Good Luck " + edit_name->text());
  // A pause still running from the abandoned game must not start a surprise round.
  pausetimer->stop();
  startround();
}

void Tmain::StartGame1Click() {
  button_startClick();
  panel_cleared->hide();
}

void Tmain::startround() {
  if (!game_.startround()) {
    endgame();
    return;
  }
  for (int n = 1; n <= 9; ++n) slideup(n);
  label_roundnum->setText(QString("Round: %1 of 10").arg(game_.round()));
  label_status->setText("Roll the Dice!");
  restdice();
  button_roll->show();
  label_total->setText("0");
  playsounds("turnnew");
}

void Tmain::restdice() {
  dice1->move(19, 67);
  dice2->move(59, 67);
}

void Tmain::button_rollClick() {
  if (!game_.gameon() || game_.phase() != Phase::awaitingroll) return;
  const int first = services_.random->random(6) + 1;
  createdice(1, first);
  const int second = services_.random->random(6) + 1;
  createdice(2, second);
  if (game_.roll(first, second) == RollOutcome::play) {
    button_roll->hide();
    label_status->setText("Select Boxes to Shut!");
    playsounds("Dice");
  } else {
    endround();
  }
}

void Tmain::createdice(int n, int value) {
  label_total->setText("0");
  QLabel* die = findChild<QLabel*>(QString("dice%1").arg(n));
  die->setPixmap(imagelist_dice[value]);
  const int column = n == 1 ? 3 : 4;
  const int left = services_.random->random(10) + column * (panel_dicepanel->width() / 7) - 64;
  const int range = panel_dicepanel->height() - 85;
  int top = services_.random->random(range) + 15;
  // A new top each roll, so the die visibly lands again; a range of one value cannot change.
  while (top == die->y() && range > 1) top = services_.random->random(range) + 15;
  die->move(left, top);
  die->setProperty("tag", value);
  die->show();
}

void Tmain::number_1MouseDown(TAnimated* sender) {
  if (!game_.gameon() || game_.phase() != Phase::selecting) return;
  const int n = sender->tag();
  const ClickResult result = game_.clicktile(n);
  switch (result.outcome) {
    case ClickOutcome::unselected: slideup(n); break;
    case ClickOutcome::selected: slidedown(n); break;
    case ClickOutcome::invalid: playsounds("invalid"); return;
    case ClickOutcome::ignored: return;
  }
  label_total->setText(QString::number(game_.shuttotal()));
  if (!result.turncomplete) return;
  for (int t = 1; t <= 9; ++t)
    if (tile(t)->hint() == "d") tile(t)->setHint("p");
  if (result.roundover) {
    endround();
    return;
  }
  restdice();
  label_status->setText("Roll Again");
  button_roll->show();
}

void Tmain::endround() {
  const int round = game_.round();
  const int roundscore = game_.roundscore(round);
  if (roundscore == Tgame::kAllShutScore) {
    playsounds("SHUTTTHEMALL");
    label_status->setText(QString("YOU VELNOR! +%1").arg(Tgame::kAllShutScore));
    tally_->addtomineincrease(2);
  } else {
    playsounds("shutsome");
    label_status->setText(QString("Round Score: %1").arg(roundscore));
  }
  button_roll->hide();
  findChild<QLabel*>(QString("label_r%1").arg(round))->setText(QString::number(roundscore));
  scoretag_ += roundscore;
  label_score->setText(QString("Score: %1").arg(scoretag_));
  pausecount_ = 3;
  pausetimer->start();
}

void Tmain::pausetimerTimer() {
  --pausecount_;
  if (pausecount_ < 1) {
    pausetimer->stop();
    startround();
  }
}

void Tmain::endgame() {
  tally_->checkscore(scoretag_, edit_name->text());
  button_sendscore->show();
  label_score1->setText(QString("Your Score: %1").arg(scoretag_));
  panel_cleared->show();
  panel_cleared->raise();
  playsounds("gameover");
}

void Tmain::button_cancelClick() { panel_cleared->hide(); }

void Tmain::button_namedoneClick() {
  edit_name->setText(edit_aname->text());
  panel_name->hide();
}

void Tmain::button_namecancelClick() { panel_name->hide(); }

void Tmain::ChangeName1Click() {
  panel_name->show();
  panel_name->raise();
  edit_aname->setFocus(Qt::OtherFocusReason);
  edit_aname->selectAll();
}

void Tmain::TallyList1Click() { show_window(tallywindow_); }

void Tmain::Help2Click() { show_window(helpwindow_); }

void Tmain::About1Click() { show_window(aboutwindow_); }

void Tmain::MultiplayerVersionofVelnor1Click() { show_window(multiplayerwindow_); }

void Tmain::image_logoClick() {
  if (homelink_ != nullptr) homelink_->Open();
}

void Tmain::set_highscore(Thighscore* highscore) {
  highscore_ = highscore;
  highscore_->on_posted = [this] {
    panel_cleared->hide();
    Timer1->stop();
  };
}

void Tmain::button_sendscoreClick() {
  // Preparing the posting never stops the wait: a failure ends in "Posting Failed.".
  try {
    if (edit_name->text().isEmpty()) edit_name->setText("Guest");
    const QString score = QString::number(scoretag_);
    const QString date = posting_date(QDate::currentDate(), QLocale::system());
    highscore_->sendscore(edit_name->text(), date, score);
  } catch (...) {
  }
  postcountdown_ = 40;
  postdots_ = 0;
  Timer1->start();
  panel_wait->show();
  panel_wait->raise();
}

void Tmain::Timer1Timer() {
  --postcountdown_;
  postdots_ = postdots_ % 5 + 1;
  panel_wait->setCaption("Posting Score, Please Wait" + QString(postdots_, '.'));
  if (postcountdown_ == 0) {
    // Ticks that come while the box is open only move the dots.
    services_.dialogs->message(this, "Posting Failed.");
    Timer1->stop();
  }
}

void Tmain::button_highscoresClick() {
  highscore_->loadit();
  show_window(highscore_);
}

void Tmain::ResetScreenLocation1Click() {
  set_bounds(QRect(3, 3, defaultwidth_, defaultheight_));
}

// Both menu items have already inverted their own check mark.
void Tmain::PlaySounds1Click() { saveinifile(); }

void Tmain::updatecheckClick() { saveinifile(); }

std::filesystem::path Tmain::settings_path() const {
  return services_.program_dir / (appname_.toStdString() + ".ini");
}

void Tmain::loadinifile() {
  remove_stale_temporaries(settings_path());
  ProfileFile profile;
  try {
    profile = ProfileFile::load(settings_path());
  } catch (const std::exception& error) {
    // The player's settings are never written over: the file is kept aside first.
    const UnreadableOutcome outcome =
        set_aside_unreadable(settings_path(), error, "settings file", "the settings start afresh",
                             "changes to the settings are not saved", local_time_now());
    settings_writable_ = outcome.replaceable;
    services_.dialogs->error(this, QString::fromStdString(outcome.message));
  }
  const std::string section = appname_.toStdString();
  const int top = profile_int(profile.read(section, "Top"), 3);
  const int left = profile_int(profile.read(section, "Left"), 3);
  const int width = profile_int(profile.read(section, "Width"), defaultwidth_);
  const int height = profile_int(profile.read(section, "Height"), defaultheight_);
  remembered_ = QRect(left, top, width, height);
  // Bounds from a bigger screen, or typed in by hand, still leave the whole window in reach.
  set_bounds(fit_into(remembered_, work_area_for(remembered_)));
  PlaySounds1->setChecked(profile.read(section, "Sounds").value_or("yes") != "no");
  updatecheck->setChecked(profile.read(section, "Update").value_or("true") != "false");
  name_text_ = FileText(profile.read(section, "Name").value_or("Guest"), edit_name->maxLength());
  edit_name->setText(name_text_.shown());
  edit_aname->setText(edit_name->text());
}

void Tmain::saveinifile() { save_settings(bounds()); }

void Tmain::save_settings(const QRect& now) {
  if (!settings_writable_) return;
  const std::filesystem::path path = settings_path();
  ProfileFile profile = ProfileFile::load(path);
  const std::string section = appname_.toStdString();
  profile.write(section, "Top", std::to_string(now.top()));
  profile.write(section, "Left", std::to_string(now.left()));
  profile.write(section, "Width", std::to_string(now.width()));
  profile.write(section, "Height", std::to_string(now.height()));
  profile.write(section, "Name", name_text_.bytes_for(edit_name->text()));
  profile.write(section, "Sounds", PlaySounds1->isChecked() ? "yes" : "no");
  profile.write(section, "Update", updatecheck->isChecked() ? "true" : "false");
  profile.save(path);
}

// Keys for players who would rather not reach for the mouse: 1 to 9 press a
// tile, Space or R the roll picture while it is there.
void Tmain::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  if (key >= Qt::Key_1 && key <= Qt::Key_9 && plain) {
    number_1MouseDown(tile(key - Qt::Key_0));
  } else if ((key == Qt::Key_Space || key == Qt::Key_R) && plain) {
    if (button_roll->isVisible()) button_rollClick();
  } else {
    QMainWindow::keyPressEvent(event);
  }
}

void Tmain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!shown_) {
    shown_ = true;
    FormShow();
  }
}

void Tmain::FormShow() {
  if (updatecheck->isChecked()) updater->check();
}

void Tmain::closeEvent(QCloseEvent* event) {
  closing_ = true;  // ends a download that is under way
  QRect now = bounds();
  if (now != remembered_) {
    const QRect work = screen()->availableGeometry();
    if (now.width() > work.width()) now.setWidth(now.width() - 3);
    if (now.height() > work.height()) now.setHeight(now.height() - 3);
    remembered_ = now;
  }
  try {
    save_settings(now);
  } catch (const std::exception& error) {
    // The player is told, and the program still closes.
    services_.dialogs->error(this, QString::fromUtf8(error.what()));
  }
  event->accept();
  QApplication::quit();
}

}  // namespace velnor
