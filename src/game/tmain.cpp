#include "tmain.h"

#include <QAction>
#include <QDate>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTimer>

#include "core/instancelock.h"
#include "core/wire.h"
#include "game/boardaccessible.h"
#include "game/dicethrow.h"
#include "game/playedgame.h"
#include "game/solver.h"
#include "game/soundplayer.h"
#include "game/tanimated.h"
#include "game/tbestmove.h"
#include "game/tcoach.h"
#include "online/postingdate.h"
#include "online/postingwait.h"
#include "online/seedsupply.h"
#include "online/thighscore.h"
#include "online/updatepanel.h"
#include "records/tallycalls.h"
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

Tmain::Tmain(MainServices services, QWidget* parent) : QMainWindow(parent), services_(std::move(services)) {
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
  build_update_panel();
  FormCreate();
  // The loaded bounds are the outer frame's, which the window manager makes only
  // once the window is on the screen.
  keep_placed(this, PlaceAt::first_show, [this] { return placed_bounds(); });
  // The board shows first; the welcome, the icon and the update check follow at once.
  after_first_paint(this, [this] {
    setWindowIcon(resource_icon(":/images/icon.png", devicePixelRatioF()));
    playsounds("entered");
    if (services_.seeds) services_.seeds->refill();
    FormShow();
  });
}

Tmain::~Tmain() = default;

void Tmain::FormCreate() {
  appname_ = QString::fromUtf8(wire::kProductKey.data(), wire::kProductKey.size());
  mutex_ = std::make_unique<InstanceLock>(appname_.toStdString());
  services_.random->setseed(services_.seed_source());
  dice_random_ = services_.random;
  loadinifile();
  // No game runs until START GAME: the rules object starts with gameon cleared. The welcome
  // cue, subject to the sound switch just loaded, plays once the board is on the screen.
  ChangeName1Click();
  button_roll->hide();
}

TAnimated* Tmain::tile(int n) const { return findChild<TAnimated*>(QString("number_%1").arg(n)); }

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
  deal_seed();
  record_.on_game_start();
  recorded();
  label_name->setText("Good Luck " + edit_name->text());
  // A pause still running from the abandoned game must not start a surprise round.
  pausetimer->stop();
  startround();
}

void Tmain::deal_seed() {
  const std::optional<SeedTicket> ticket = services_.seeds ? services_.seeds->take() : std::nullopt;
  if (ticket) {
    // The ticket's game draws from a generator of its own, so the clock's sequence goes on
    // where it left off in the next game without one.
    ticket_random_.setseed(ticket->seed);
    dice_random_ = &ticket_random_;
  } else {
    dice_random_ = services_.random;
  }
  game_ticket_ = ticket ? ticket->text() : std::string();
  game_seed_ = dice_random_->seed();
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
  record_.on_round_start();
  recorded();
  bestmove_marks->mark({});
  for (int n = 1; n <= 9; ++n) slideup(n);
  label_roundnum->setText(QString("Round: %1 of 10").arg(game_.round()));
  label_status->setText("Roll the Dice!");
  restdice();
  show_roll_button();
  label_total->setText("0");
  announce_tiles(*this);
  playsounds("turnnew");
}

void Tmain::restdice() {
  dice1->move(19, kDiceRestTop);
  dice2->move(59, kDiceRestTop);
}

void Tmain::button_rollClick() {
  if (!game_.gameon() || game_.phase() != Phase::awaitingroll) return;
  const auto [first, second] = throw_dice(*dice_random_);
  label_total->setText("0");
  show_die(dice1, first);
  show_die(dice2, second);
  record_.on_roll(first.value, second.value);
  recorded();
  const RollOutcome outcome = game_.roll(first.value, second.value);
  announce_dice(*this);
  if (outcome == RollOutcome::play) {
    button_roll->hide();
    label_status->setText("Select Boxes to Shut!");
    playsounds("Dice");
    if (AlwaysShowBestMove1->isChecked()) ShowBestMove1Click();
  } else {
    endround();
  }
}

void Tmain::show_die(QLabel* die, const DieThrow& thrown) {
  die->setPixmap(imagelist_dice[thrown.value]);
  die->move(thrown.left, thrown.top);
  die->setProperty("tag", thrown.value);
  die->show();
}

void Tmain::number_1MouseDown(TAnimated* sender) {
  if (!game_.gameon() || game_.phase() != Phase::selecting) return;
  const int n = sender->tag();
  const ClickResult result = game_.clicktile(n);
  switch (result.outcome) {
    case ClickOutcome::unselected:
      slideup(n);
      break;
    case ClickOutcome::selected:
      slidedown(n);
      break;
    case ClickOutcome::invalid:
      playsounds("invalid");
      return;
    case ClickOutcome::ignored:
      return;
  }
  bestmove_marks->mark({});
  label_total->setText(QString::number(game_.shuttotal()));
  announce_tiles(*this);
  if (!result.turncomplete) return;
  unsigned shut = 0;
  for (int t = 1; t <= 9; ++t)
    if (tile(t)->hint() == "d") {
      tile(t)->setHint("p");
      shut |= 1u << (t - 1);
    }
  record_.on_turn_shut(shut);
  recorded();
  if (result.roundover) {
    endround();
    return;
  }
  restdice();
  label_status->setText("Roll Again");
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
  record_.on_round_end(roundscore);
  recorded();
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
  // The next game's seed is fetched while this one's score is looked at.
  if (services_.seeds) services_.seeds->refill();
  label_score1->setText(QString("Your Score: %1").arg(scoretag_));
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
    highscore_->on_refused = [this] { postingwait_->fail(); };
  }
  return highscore_;
}

void Tmain::button_sendscoreClick() {
  // Preparing the posting never stops the wait: a failure ends in "Posting Failed.".
  try {
    if (edit_name->text().isEmpty()) edit_name->setText("Guest");
    const QString date = posting_date(QDate::currentDate(), QLocale::system());
    highscore()->sendscore(edit_name->text(), date, QString::number(scoretag_),
                           played_game_text(played_game(game_ticket_, game_seed_, record_.turns())));
  } catch (...) {
  }
  postingwait_->start();
}

void Tmain::Timer1Timer() { postingwait_->tick(); }

void Tmain::button_highscoresClick() {
  highscore()->loadit();
  show_window(highscore());
}

void Tmain::ShowBestMove1Click() {
  if (!game_.gameon() || game_.phase() != Phase::selecting) return;
  // The tiles picked so far this turn still count as open: the best choice is for the whole roll.
  const unsigned standing = kAllTiles & ~game_.shutmask();
  const unsigned best = Solver::table().best(standing, game_.dicetotal());
  std::vector<QRect> places;
  for (int n = 1; n <= 9; ++n)
    if (best & (1u << (n - 1))) places.push_back(tile(n)->geometry());
  bestmove_marks->mark(places);
}

void Tmain::Coach1Click() {
  if (coach_ == nullptr) coach_ = new Tcoach(record_, this);
  show_window(coach_);
}

void Tmain::recorded() {
  if (coach_ != nullptr) coach_->game_changed();
}

// Keys for players who would rather not reach for the mouse: 1 to 9 press a
// tile, Space or R the roll picture while it is there; Space or Enter presses the
// tile that Tab put the keyboard on.
void Tmain::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  auto* focused_tile = qobject_cast<TAnimated*>(focusWidget());
  if (focused_tile != nullptr && plain && (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)) {
    number_1MouseDown(focused_tile);
  } else if (key >= Qt::Key_1 && key <= Qt::Key_9 && plain) {
    number_1MouseDown(tile(key - Qt::Key_0));
  } else if ((key == Qt::Key_Space || key == Qt::Key_R) && plain) {
    if (button_roll->isVisible()) button_rollClick();
  } else {
    QMainWindow::keyPressEvent(event);
  }
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
