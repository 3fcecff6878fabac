#include "tmain.h"

#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTimer>

#include <stdexcept>

#include "core/instancelock.h"
#include "core/wire.h"
#include "game/boardaccessible.h"
#include "game/boardkeys.h"
#include "game/solver.h"
#include "game/soundplayer.h"
#include "game/tanimated.h"
#include "game/tbestmove.h"
#include "game/tcoach.h"
#include "online/postingdate.h"
#include "online/postingwait.h"
#include "online/thighscore.h"
#include "online/updatepanel.h"
#include "records/storedbounds.h"
#include "records/tallycalls.h"
#include "rules/dicethrow.h"
#include "windows/dialogs.h"
#include "windows/firstpaint.h"
#include "windows/formcontrols.h"
#include "windows/panelfocus.h"
#include "windows/tcolor.h"
#include "windows/tflatpanel.h"
#include "windows/tfont.h"
#include "windows/timage.h"
#include "windows/tlbbackground.h"
#include "windows/tselbutton.h"
#include "windows/turl.h"
#include "windows/windowplacement.h"

namespace velnor {

Tmain::Tmain(MainServices services, QWidget* parent)
    : QMainWindow(parent),
      services_(std::move(services)),
      session_(*services_.random, *this),
      verified_(session_, services_.seeds, services_.dice,
                {[this] { return Verified1->isChecked(); },
                 [this] { return services_.self_update && updatecheck->isChecked(); }}) {
  setObjectName("Tmain");
  setWindowTitle("Velnor Solo");
  set_window_color(this, kWindowColor);
  LbBackground1 = new TLbBackground(this);
  LbBackground1->setObjectName("LbBackground1");
  LbBackground1->setEnabled(true);
  setFont(tfont(kFormFont, 8));
  build_menus();
  build_board(this);
  connect_board();
  new BoardKeys(*this, this, [this] { button_rollClick(); });
  postingwait_ = std::make_unique<PostingWait>(panel_wait, button_sendscore, Timer1, *services_.dialogs, this);
  build_update_panel();
  FormCreate();
  // The loaded bounds are the outer frame's, which the window manager makes only
  // once the window is on the screen.
  keep_placed(this, PlaceAt::first_show, [this] { return placed_bounds(this, remembered_); });
  // The board shows first; the welcome, the icon and the update check follow at once.
  after_first_paint(this, [this] {
    setWindowIcon(resource_icon(":/images/icon.png", devicePixelRatioF()));
    playsounds("entered");
    verified_.window_shown();
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

void Tmain::show_tiles() {
  for (int n = 1; n <= Tgame::kTiles; ++n) {
    const TileState state = game().tile(n);
    const bool down = tile(n)->hint() != "u";
    if (state == TileState::open && down) slideup(n);
    if (state != TileState::open && !down) slidedown(n);
    tile(n)->setHint(QString(QChar(static_cast<char>(state))));
  }
  announce_tiles(*this);
}

void Tmain::show_scores() {
  for (int r = 1; r <= Tgame::kRounds; ++r) label_r[r - 1]->setText(QString::number(game().roundscore(r)));
  label_score->setText(tr("Score: %1").arg(game().score()));
}

void Tmain::button_startClick() {
  panel_wait->hide();
  panel_name->hide();
  panel_cleared->hide();
  tally_->addtomineincrease(1);
  label_name->setText(tr("Good Luck %1").arg(edit_name->text()));
  pausetimer->stop();
  verified_.start_game();
}

void Tmain::StartGame1Click() { button_startClick(); }

void Tmain::game_started() { show_scores(); }

void Tmain::round_started() {
  bestmove_marks->mark({});
  show_tiles();
  label_roundnum->setText(tr("Round: %1 of 10").arg(game().round()));
  label_status->setText(tr("Roll the Dice!"));
  restdice();
  show_roll_button();
  label_total->setText("0");
  playsounds("turnnew");
}

void Tmain::restdice() {
  dice1->move(19, kDiceRestTop);
  dice2->move(59, kDiceRestTop);
}

void Tmain::button_rollClick() { session_.roll(); }

void Tmain::dice_thrown(const DieThrow& first, const DieThrow& second, bool has_play) {
  label_total->setText("0");
  show_die(dice1, first);
  show_die(dice2, second);
  announce_dice(*this);
  if (!has_play) return;
  button_roll->hide();
  label_status->setText(tr("Select Boxes to Shut!"));
  playsounds("Dice");
  if (AlwaysShowBestMove1->isChecked()) ShowBestMove1Click();
}

void Tmain::show_die(QLabel* die, const DieThrow& thrown) {
  die->setPixmap(imagelist_dice[thrown.value]);
  die->move(thrown.left, thrown.top);
  die->setProperty("tag", thrown.value);
  die->show();
}

void Tmain::number_1MouseDown(TAnimated* sender) { session_.click(sender->tag()); }

void Tmain::tile_refused(int) { playsounds("invalid"); }

void Tmain::tiles_changed() {
  bestmove_marks->mark({});
  label_total->setText(QString::number(game().shuttotal()));
  show_tiles();
}

void Tmain::turn_done() {
  restdice();
  label_status->setText(tr("Roll Again"));
  show_roll_button();
}

void Tmain::show_roll_button() {
  const bool keyboard_here = keyboard_on_board();
  button_roll->show();
  if (keyboard_here) button_roll->setFocus(Qt::TabFocusReason);
}

bool Tmain::keyboard_on_board() const {
  const QWidget* focus = focusWidget();
  return focus != nullptr && (qobject_cast<const TAnimated*>(focus) || focus == button_roll || focus == button_start);
}

void Tmain::round_scored(int, int score) {
  if (score == Tgame::kAllShutScore) {
    playsounds("SHUTTTHEMALL");
    label_status->setText(QString("YOU VELNOR! +%1").arg(Tgame::kAllShutScore));
    tally_->addtomineincrease(2);
  } else {
    playsounds("shutsome");
    label_status->setText(tr("Round Score: %1").arg(score));
  }
  button_roll->hide();
  show_scores();
  pausetimer->start();
}

void Tmain::pausetimerTimer() {
  if (session_.pause_tick()) pausetimer->stop();
}

void Tmain::game_over(int score) {
  tally_->checkscore(score, edit_name->text());
  button_sendscore->show();
  // The next game's seed may be fetched while this one's score is looked at.
  verified_.game_over();
  label_score1->setText(tr("Your Score: %1").arg(score));
  const bool keyboard_here = keyboard_on_board();
  panel_cleared->show();
  panel_cleared->raise();
  if (keyboard_here) edit_name->setFocus(Qt::TabFocusReason);
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
    highscore_->on_refused = [this](const std::string& untrusted) { postingwait_->fail(untrusted); };
  }
  return highscore_;
}

void Tmain::button_sendscoreClick() {
  if (!button_sendscore->isVisible()) return;  // covered by the wait: one posting a game
  if (edit_name->text().isEmpty()) edit_name->setText("Guest");
  postingwait_->start();
  Thighscore* poster = highscore();
  try {
    if (poster == nullptr) throw std::runtime_error("there is no high-score window");
    const QString date = posting_date(QDate::currentDate(), QLocale::system());
    poster->sendscore(edit_name->text(), date, QString::number(game().score()), session_.played_text());
  } catch (const std::exception& error) {
    // A posting that cannot even be sent is told at once, not after the wait.
    qWarning("The score could not be posted: %s", error.what());
    postingwait_->fail();
  }
}

void Tmain::Timer1Timer() { postingwait_->tick(); }

void Tmain::button_highscoresClick() {
  Thighscore* window = highscore();
  if (window == nullptr) return;
  window->loadit();
  show_window(window);
}

void Tmain::ShowBestMove1Click() {
  if (!session_.selecting()) return;
  // The tiles picked so far this turn still count as open: the best choice is for the whole roll.
  const unsigned standing = kAllTiles & ~game().shutmask();
  const unsigned best = Solver::table().best(standing, game().dicetotal());
  std::vector<QRect> places;
  for (int n = 1; n <= 9; ++n)
    if (best & (1u << (n - 1))) places.push_back(tile(n)->geometry());
  bestmove_marks->mark(places);
}

void Tmain::Coach1Click() {
  if (coach_ == nullptr) coach_ = new Tcoach(session_.record(), this);
  show_window(coach_);
}

void Tmain::record_changed() {
  if (coach_ != nullptr) coach_->game_changed();
}

bool Tmain::focusNextPrevChild(bool next) {
  // The panel on top of the board holds the keyboard as a dialog would.
  QWidget* top = nullptr;
  for (QObject* child : panel_board1->children())  // from the bottom up
    if (child == panel_update || child == panel_name || child == panel_cleared)
      if (static_cast<QWidget*>(child)->isVisible()) top = static_cast<QWidget*>(child);
  if (top != nullptr && keep_focus_within(top, next)) return true;
  return QMainWindow::focusNextPrevChild(next);
}

void Tmain::FormShow() {
  if (services_.self_update && updatecheck->isChecked()) updater->check();
}

}  // namespace velnor
