#include "boardform.h"

#include <QCoreApplication>
// The board's controls and timers, placed as the window's form places them.
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QTimer>
#include <QToolTip>

#include "game/tanimated.h"
#include "game/tbestmove.h"
#include "rules/dicethrow.h"
#include "windows/fixedframe.h"
#include "windows/formcontrols.h"
#include "windows/labeltable.h"
#include "windows/panelfocus.h"
#include "windows/tcolor.h"
#include "windows/tflatpanel.h"
#include "windows/tfont.h"
#include "windows/timage.h"
#include "windows/tlbbackground.h"
#include "windows/tselbutton.h"

namespace velnor {

namespace {

constexpr int kTileLefts[9] = {153, 208, 263, 318, 373, 428, 483, 538, 594};
constexpr int kRoundTops[10] = {15, 36, 57, 79, 100, 121, 142, 164, 185, 206};

// The pictures of the board.
const QString kTilesBackdrop = QStringLiteral(":/images/backdrop_tiles.jpg");
const QString kDiceBackdrop = QStringLiteral(":/images/backdrop_dice.jpg");
const QString kDiceStrip = QStringLiteral(":/images/dice.png");
const QString kRollPicture = QStringLiteral(":/images/roll.png");
const QString kLogo = QStringLiteral(":/images/logo.png");
const QString kRoundsPicture = QStringLiteral(":/images/rounds.png");
const QString kGameOverPicture = QStringLiteral(":/images/gameover.png");
QString tile_strip(int n) { return QString(":/images/tiles/tile%1.png").arg(n); }

constexpr int kNameLength = 10;  // as the server takes it

QLineEdit* make_edit(QWidget* parent, const QString& name, const QRect& bounds) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setGeometry(bounds);
  edit->setMaxLength(kNameLength);
  // A key that the full box refuses is not lost without a word.
  QObject::connect(edit, &QLineEdit::inputRejected, edit, [edit] {
    QToolTip::showText(edit->mapToGlobal(QPoint(0, edit->height())),
                       QString("A name has at most %1 characters.").arg(kNameLength), edit);
  });
  edit->setFont(tfont(kFormFont, 14));
  QPalette palette = edit->palette();
  palette.setColor(QPalette::Base, tcolor(kCream));
  palette.setColor(QPalette::Text, tcolor(clBlack));
  edit->setPalette(palette);
  return edit;
}

}  // namespace

void BoardForm::decode_board_ahead() {
  std::vector<QString> pictures = {kTilesBackdrop, kDiceBackdrop,  kDiceStrip,      kRollPicture,
                                   kLogo,          kRoundsPicture, kGameOverPicture};
  for (int n = 1; n <= 9; ++n) pictures.push_back(tile_strip(n));
  decode_pictures_ahead(std::move(pictures));
}

void BoardForm::build_board(QMainWindow* window) {
  auto* client = new QWidget(window);
  client->setObjectName("client");
  // The client area never shrinks below the board and a small margin.
  client->setMinimumSize(681 + 5, 322 + 5);
  // The board never grows, so the player is offered no frame to drag: only the program sizes it.
  offer_no_frame_resizing(window);
  // The board takes the keyboard whenever no edit box is in use: the keys of the game go to it.
  // It is no Tab stop, though: it has no ring to show and nothing to read.
  client->setFocusPolicy(Qt::ClickFocus);
  client->setAccessibleName(QCoreApplication::translate("velnor::Tmain", "Board"));
  window->setCentralWidget(client);

  panel_board = make_panel(client, "panel_board", QRect(0, 3, 681, 322), true, kWindowColor);
  label_name =
      make_label(panel_board, "label_name", QCoreApplication::translate("velnor::Tmain", "Welcome to Velnor Solo!"),
                 QRect(11, 5, 313, 16), tfont(kFormFont, 10), kPaleYellow);

  panel_board1 = make_panel(panel_board, "panel_board1", QRect(6, 26, 670, 291), true, clBlack);
  auto* image4 = make_picture(panel_board1, "Image4", QRect(146, 128, 503, 120), kTilesBackdrop);
  image4->setAccessibleName(QCoreApplication::translate("velnor::Tmain", "Tile board"));
  image4->lower();

  for (int n = 1; n <= 9; ++n) {
    auto* number = tiles[n - 1] = new TAnimated(panel_board1);
    number->setObjectName(QString("number_%1").arg(n));
    number->setTag(n);
    number->setGeometry(kTileLefts[n - 1], 128, 48, 91);
    number->setCursor(Qt::PointingHandCursor);
    number->setFocusPolicy(Qt::TabFocus);
    number->setHint("u");
    number->setInterval(100);
    number->setFrameCount(5);
    number->setFrame(0);
    number->setPlay(false);
    number->setReverse(false);
    number->setLoop(false);
    number->setTransparentColor(clNone);
    number->setBitMap(resource_picture(tile_strip(n)).toImage());
    number->resize(48, 91);
  }

  bestmove_marks = new TBestMoveMarks(panel_board1);

  // The score line grows with its text, as the form's self-sizing label does.
  label_score = make_label(panel_board1, "label_score", QCoreApplication::translate("velnor::Tmain", "Score: 0"),
                           QRect(151, 223, 150, 20), tfont(kFormFont, 12, {.bold = true}), kPaleYellow);
  label_roundnum = make_label(panel_board1, "label_roundnum",
                              QCoreApplication::translate("velnor::Tmain", "Round: 0 of 10"), QRect(492, 223, 151, 20),
                              tfont(kFormFont, 12, {.bold = true}), kPaleYellow, Qt::AlignRight | Qt::AlignTop);
  button_start = make_button(panel_board1, "button_start", QCoreApplication::translate("velnor::Tmain", "START GAME"),
                             QRect(19, 253, 125, 27));
  image_logo = make_picture(panel_board1, "image_logo", QRect(462, 250, 185, 32), kLogo);
  image_logo->setCursor(Qt::PointingHandCursor);
  image_logo->setAccessibleName(QCoreApplication::translate("velnor::Tmain", "Velnor Solo home page"));
  // A picture that acts as a button takes Tab (set here, as the tab order below needs it).
  image_logo->setFocusPolicy(Qt::TabFocus);

  build_dicepanel(panel_board1);
  build_roundcolumn(panel_board1);
  build_panel_cleared(panel_board1);
  build_panel_name(panel_board1);
  // Tab goes down the board: the roll, the tiles, START GAME, the logo.
  QWidget* previous = button_roll;
  for (int n = 1; n <= 9; ++n) {
    QWidget::setTabOrder(previous, tile(n));
    previous = tile(n);
  }
  QWidget::setTabOrder(previous, button_start);
  QWidget::setTabOrder(button_start, image_logo);
  return_focus_on_hide(panel_cleared, client);
  return_focus_on_hide(panel_name, client);
  // Filled by the update offer; hidden until an update is found.
  panel_update = make_panel(panel_board1, "panel_update", QRect(230, 40, 329, 161), false, clBlack);
  panel_update->hide();
  pausetimer = new QTimer(window);
  pausetimer->setObjectName("pausetimer");
  pausetimer->setInterval(1000);
  Timer1 = new QTimer(window);
  Timer1->setObjectName("Timer1");
  Timer1->setInterval(1000);
}

void BoardForm::build_dicepanel(QWidget* board1) {
  panel_dicepanel =
      make_panel(board1, "panel_dicepanel", QRect(145, 8, kDicePanelWidth, kDicePanelHeight), true, clBlack);
  auto* felt = make_picture(panel_dicepanel, "Image1", QRect(1, 1, 503, 119), kDiceBackdrop);
  felt->setAccessibleName(QCoreApplication::translate("velnor::Tmain", "Dice board"));
  felt->lower();
  make_label(panel_dicepanel, "Label2", QCoreApplication::translate("velnor::Tmain", "SHUT TOTAL"),
             QRect(17, 18, 81, 13), tfont(kFormFont, 8, {.bold = true}), clBlack);
  label_total = make_label(panel_dicepanel, "label_total", "0", QRect(32, 30, 37, 37),
                           tfont(kFormFont, 26, {.bold = true}), clBlack, Qt::AlignHCenter | Qt::AlignTop);

  const QPixmap strip = resource_picture(kDiceStrip);
  for (int k = 0; k < 7; ++k) imagelist_dice[k] = picture_part(strip, QRect(k * 32, 0, 32, 32));
  // The dice are thrown anywhere on the felt, so it holds them where the panel would.
  dice = new QWidget(panel_dicepanel);
  dice->setObjectName("dice");
  dice->setGeometry(0, 0, kDicePanelWidth, kDicePanelHeight);
  dice->setAttribute(Qt::WA_TransparentForMouseEvents);
  dice1 = new QLabel(dice);
  dice1->setObjectName("dice1");
  dice1->setGeometry(19, kDiceRestTop, 32, 32);
  dice2 = new QLabel(dice);
  dice2->setObjectName("dice2");
  dice2->setGeometry(59, kDiceRestTop, 32, 32);

  button_roll = make_picture(panel_dicepanel, "button_roll", QRect(376, 64, 102, 27), kRollPicture);
  button_roll->setCursor(Qt::PointingHandCursor);
  button_roll->setAccessibleName(QCoreApplication::translate("velnor::Tmain", "Roll the dice"));
  button_roll->setFocusPolicy(Qt::TabFocus);

  label_status = make_label(
      panel_dicepanel, "label_status", QCoreApplication::translate("velnor::Tmain", "Welcome to Velnor Solo"),
      QRect(12, 90, 480, 14), tfont(kFormFont, 10, {.bold = true}), clBlack, Qt::AlignHCenter | Qt::AlignTop);
}

void BoardForm::build_roundcolumn(QWidget* board1) {
  FlatPanel1 = make_panel(board1, "FlatPanel1", QRect(22, 8, 123, 241), false, clBlack);
  make_picture(FlatPanel1, "Image2", QRect(1, 1, 121, 239), kRoundsPicture);
  const QFont font = tfont(kFormFont, 13, {.bold = true});
  // Read as a table, the round's number heading its score; the picture behind is not read.
  auto* table = new LabelTable(
      FlatPanel1, QCoreApplication::translate("velnor::Tmain", "Round scores"),
      {QCoreApplication::translate("velnor::Tmain", "Round"), QCoreApplication::translate("velnor::Tmain", "Score")});
  for (int r = 1; r <= 10; ++r) {
    const int top = kRoundTops[r - 1];
    QLabel* round = make_label(FlatPanel1, QString("Label_round%1").arg(r), QString::number(r),
                               QRect(r == 10 ? 50 : 55, top, 24, 20), font, kPaleYellow);
    label_r[r - 1] = make_label(FlatPanel1, QString("label_r%1").arg(r), "0", QRect(85, top, 30, 20), font, clBlack);
    table->add_row(round, {label_r[r - 1]});
  }
}

void BoardForm::build_panel_cleared(QWidget* board1) {
  panel_cleared = make_panel(board1, "panel_cleared", QRect(222, 8, 329, 265), false, clBlack);
  make_picture(panel_cleared, "Image3", QRect(8, 8, 97, 104), kGameOverPicture)
      ->setAccessibleName(QCoreApplication::translate("velnor::Tmain", "Game over"));
  make_label(panel_cleared, "Label3", QCoreApplication::translate("velnor::Tmain", "Game Over!"),
             QRect(111, 5, 210, 24), tfont(kFormFont, 14, {.bold = true, .underline = true}), kPaleYellow,
             Qt::AlignHCenter | Qt::AlignTop);
  label_score1 = make_label(panel_cleared, "label_score1", QCoreApplication::translate("velnor::Tmain", "Your Score: "),
                            QRect(112, 32, 217, 24), tfont(kFormFont, 14, {.bold = true}), kBrightGreen,
                            Qt::AlignHCenter | Qt::AlignTop);
  make_label(panel_cleared, "Label4", QCoreApplication::translate("velnor::Tmain", "Enter Your Name"),
             QRect(112, 60, 210, 20), tfont(kFormFont, 10, {.bold = true}), kPaleYellow,
             Qt::AlignHCenter | Qt::AlignTop);
  edit_name = make_edit(panel_cleared, "edit_name", QRect(136, 82, 161, 32));
  edit_name->setAccessibleName(QCoreApplication::translate("velnor::Tmain", "Your name"));
  button_sendscore = make_button(panel_cleared, "button_sendscore",
                                 QCoreApplication::translate("velnor::Tmain", "SEND SCORE"), QRect(78, 126, 172, 36));
  button_sendscore->setColorBorder(kPostingRed);
  button_sendscore->setColorOverCaption(kPostingRed);
  button_sendscore->setFontColor(clGray);
  button_highscore =
      make_button(panel_cleared, "button_highscore", QCoreApplication::translate("velnor::Tmain", "VIEW HIGH SCORES"),
                  QRect(78, 178, 172, 36));
  button_done = make_button(panel_cleared, "button_done", QCoreApplication::translate("velnor::Tmain", "DONE"),
                            QRect(109, 219, 111, 36));

  panel_wait = make_panel(panel_cleared, "panel_wait", QRect(9, 122, 309, 49), false, kWindowColor);
  panel_wait->setCaption(QCoreApplication::translate("velnor::Tmain", "Posting Score, Please Wait......"));
  panel_wait->setFont(tfont(kFormFont, -19));
  panel_wait->setFontColor(kPaleYellow);
  panel_wait->hide();
  panel_cleared->hide();
}

void BoardForm::build_panel_name(QWidget* board1) {
  panel_name = make_panel(board1, "panel_name", QRect(231, 40, 329, 161), false, clBlack);
  make_label(panel_name, "Label5", QCoreApplication::translate("velnor::Tmain", "ENTER YOUR NAME"),
             QRect(0, 14, 329, 24), tfont(kFormFont, 14, {.bold = true}), kPaleYellow, Qt::AlignHCenter | Qt::AlignTop);
  edit_aname = make_edit(panel_name, "edit_aname", QRect(84, 52, 161, 32));
  edit_aname->setAccessibleName(QCoreApplication::translate("velnor::Tmain", "Your name"));
  button_namedone = make_button(panel_name, "button_namedone", QCoreApplication::translate("velnor::Tmain", "DONE"),
                                QRect(46, 108, 111, 36));
  button_namedone->setFontColor(clGray);
  button_namecancel = make_button(panel_name, "button_namecancel",
                                  QCoreApplication::translate("velnor::Tmain", "CANCEL"), QRect(172, 108, 111, 36));
  button_namecancel->setFontColor(clGray);
  panel_name->hide();
}

}  // namespace velnor
