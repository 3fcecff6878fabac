#include "tmain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QScreen>
#include <QTimer>

#include "core/instancelock.h"
#include "core/safefile.h"
#include "core/version.h"
#include "core/wire.h"
#include "game/dicethrow.h"
#include "game/soundplayer.h"
#include "game/tanimated.h"
#include "online/postingdate.h"
#include "online/postingwait.h"
#include "online/thighscore.h"
#include "online/updatepanel.h"
#include "records/gamesettings.h"
#include "records/tallycalls.h"
#include "records/unreadablefile.h"
#include "windows/dialogs.h"
#include "windows/firstpaint.h"
#include "windows/formcontrols.h"
#include "windows/tcolor.h"
#include "windows/tflatpanel.h"
#include "windows/tfont.h"
#include "windows/timage.h"
#include "windows/tlbbackground.h"
#include "windows/tselbutton.h"
#include "windows/turl.h"
#include "windows/windowplacement.h"

namespace velnor {

namespace {

WindowBounds window_bounds(const QRect& r) { return {r.left(), r.top(), r.width(), r.height()}; }

}  // namespace

Tmain::Tmain(MainServices services, QWidget* parent)
    : QMainWindow(parent), services_(std::move(services)) {
  setObjectName("Tmain");
  setWindowTitle("Velnor Solo");
  set_window_color(this, kWindowColor);
  LbBackground1 = new TLbBackground(this);
  LbBackground1->setObjectName("LbBackground1");
  LbBackground1->setEnabled(true);
  setFont(tfont(kFormFont, 8));
  build_menus();
  build_board();
  postingwait_ = std::make_unique<PostingWait>(panel_wait, Timer1, *services_.dialogs, this);
  updater = std::make_unique<UpdatePanel>(panel_update, UpdateServices{
      .base = VELNOR_SERVER_BASE,
      .appname = std::string(wire::kProductKey),
      .program_file = services_.program_file,
      .post_to_ui = services_.post_to_ui,
      .own_version = std::string(kVersion),
      .start_detached = services_.start_detached,
      .before_install = [this] {
        tally_->savetally();
        try {
          saveinifile();
        } catch (const std::exception&) {
          // The installer goes ahead; the settings are the player's to set again.
        }
      },
      .end_process = services_.end_process,
      .terminated = [this] { return closing_; },
      .dialogs = services_.dialogs});
  FormCreate();
  // The loaded bounds are the outer frame's, which the window manager makes only
  // once the window is on the screen.
  keep_placed(this, PlaceAt::first_show, [this] { return placed_bounds(); });
  // The board shows first; the welcome, the icon and the update check follow at once.
  after_first_paint(this, [this] {
    setWindowIcon(resource_icon(":/images/icon.png", devicePixelRatioF()));
    playsounds("entered");
    FormShow();
  });
}

Tmain::~Tmain() = default;

void Tmain::FormCreate() {
  appname_ = QString::fromUtf8(wire::kProductKey.data(), wire::kProductKey.size());
  mutex_ = std::make_unique<InstanceLock>(appname_.toStdString());
  services_.random->setseed(services_.seed_source());
  loadinifile();
  // No game runs until START GAME: the rules object starts with gameon cleared. The welcome
  // cue, subject to the sound switch just loaded, plays once the board is on the screen.
  ChangeName1Click();
  button_roll->hide();
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
  const int first = createdice(1);
  const int second = createdice(2);
  if (game_.roll(first, second) == RollOutcome::play) {
    button_roll->hide();
    label_status->setText("Select Boxes to Shut!");
    playsounds("Dice");
  } else {
    endround();
  }
}

int Tmain::createdice(int n) {
  label_total->setText("0");
  QLabel* die = findChild<QLabel*>(QString("dice%1").arg(n));
  const DieThrow thrown =
      throw_die(*services_.random, n, panel_dicepanel->width(), panel_dicepanel->height(), die->y());
  die->setPixmap(imagelist_dice[thrown.value]);
  die->move(thrown.left, thrown.top);
  die->setProperty("tag", thrown.value);
  die->show();
  return thrown.value;
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

namespace {

template <class T>
T* wanted(const WindowSource<T>& source) {
  return source ? source() : nullptr;
}

}  // namespace

void Tmain::Help2Click() { show_window(wanted(windows_.help)); }

void Tmain::About1Click() { show_window(wanted(windows_.about)); }

void Tmain::MultiplayerVersionofVelnor1Click() { show_window(wanted(windows_.multiplayer)); }

void Tmain::image_logoClick() {
  if (TURL* home = wanted(windows_.home_link)) home->Open();
}

Thighscore* Tmain::highscore() {
  if (highscore_ == nullptr && (highscore_ = wanted(windows_.highscore)) != nullptr) {
    highscore_->on_posted = [this] {
      panel_cleared->hide();
      postingwait_->stop();
    };
  }
  return highscore_;
}

void Tmain::button_sendscoreClick() {
  // Preparing the posting never stops the wait: a failure ends in "Posting Failed.".
  try {
    if (edit_name->text().isEmpty()) edit_name->setText("Guest");
    const QString date = posting_date(QDate::currentDate(), QLocale::system());
    highscore()->sendscore(edit_name->text(), date, QString::number(scoretag_));
  } catch (...) {
  }
  postingwait_->start();
}

void Tmain::Timer1Timer() { postingwait_->tick(); }

void Tmain::button_highscoresClick() {
  highscore()->loadit();
  show_window(highscore());
}

void Tmain::ResetScreenLocation1Click() {
  const WindowBounds home;
  set_bounds(QRect(home.left, home.top, home.width, home.height));
}

// Both menu items have already inverted their own check mark.
void Tmain::PlaySounds1Click() { saveinifile(); }

void Tmain::updatecheckClick() { saveinifile(); }

std::filesystem::path Tmain::settings_path() const {
  return services_.program_dir / wire::kSettingsFile;
}

void Tmain::loadinifile() {
  remove_stale_temporaries(settings_path());
  GameSettings settings;
  try {
    settings = GameSettings::load(settings_path());
  } catch (const std::exception& error) {
    // The player's settings are never written over: the file is kept aside first.
    const UnreadableOutcome outcome =
        set_aside_unreadable(settings_path(), error, "settings file", "the settings start afresh",
                             "changes to the settings are not saved", local_time_now());
    settings_writable_ = outcome.replaceable;
    services_.dialogs->error(this, QString::fromStdString(outcome.message));
  }
  remembered_ = settings.bounds;
  // Bounds from a bigger screen, or typed in by hand, still leave the whole window in reach.
  set_bounds(placed_bounds());
  PlaySounds1->setChecked(settings.sounds);
  updatecheck->setChecked(settings.update);
  name_text_ = FileText(settings.name, edit_name->maxLength());
  edit_name->setText(name_text_.shown());
  edit_aname->setText(edit_name->text());
}

void Tmain::saveinifile() { save_settings(window_bounds(bounds())); }

void Tmain::save_settings(const WindowBounds& bounds) {
  if (!settings_writable_) return;
  const GameSettings settings{.bounds = bounds,
                              .name = name_text_.bytes_for(edit_name->text()),
                              .sounds = PlaySounds1->isChecked(),
                              .update = updatecheck->isChecked()};
  settings.save(settings_path());
}

QRect Tmain::placed_bounds() const {
  const QRect loaded(remembered_.left, remembered_.top, remembered_.width, remembered_.height);
  return fit_into(loaded, work_area_for(loaded));
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

void Tmain::FormShow() {
  if (updatecheck->isChecked()) updater->check();
}

void Tmain::closeEvent(QCloseEvent* event) {
  closing_ = true;  // ends a download that is under way
  const QRect work = screen()->availableGeometry();
  remembered_ = bounds_at_close(window_bounds(bounds()), remembered_, work.width(), work.height());
  try {
    save_settings(remembered_);
  } catch (const std::exception& error) {
    // The player is told, and the program still closes.
    services_.dialogs->error(this, QString::fromUtf8(error.what()));
  }
  event->accept();
  QApplication::quit();
}

}  // namespace velnor
