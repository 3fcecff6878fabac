#include "tcoach.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>
#include <iterator>

#include "game/coachreview.h"
#include "game/solver.h"
#include "game/tcoachchart.h"
#include "rules/gamerecord.h"
#include "windows/formcontrols.h"
#include "windows/secondarywindow.h"
#include "windows/tcolor.h"
#include "windows/tflatpanel.h"
#include "windows/tfont.h"
#include "windows/tlbbackground.h"
#include "windows/tselbutton.h"

namespace velnor {

namespace {

constexpr std::uint32_t kCostlyBand = 0x1E2A8E;  // #8E2A1E: a dark red that the yellow reads on
constexpr int kRowHeight = 20;
constexpr int kSheetWidth = 356;   // the rows' width, beside the scroll bar
constexpr int kLeastHeight = 540;  // the window's; taller, the rows take the height it gains
constexpr int kPanelHeight = 528;
constexpr int kRowsHeight = 240;
constexpr int kDoneTop = 490;

struct Column {
  const char* name;
  const char* heading;
  int left;
  int width;
  Qt::Alignment alignment;
};

constexpr Column kColumns[] = {
    {"label_round", QT_TRANSLATE_NOOP("velnor::Tcoach", "Round"), 0, 56, Qt::AlignHCenter},
    {"label_roll", QT_TRANSLATE_NOOP("velnor::Tcoach", "Roll"), 56, 48, Qt::AlignHCenter},
    {"label_shut", QT_TRANSLATE_NOOP("velnor::Tcoach", "You shut"), 116, 92, Qt::AlignLeft},
    {"label_best", QT_TRANSLATE_NOOP("velnor::Tcoach", "Best"), 212, 92, Qt::AlignLeft},
    {"label_cost", QT_TRANSLATE_NOOP("velnor::Tcoach", "Cost"), 296, 54, Qt::AlignRight},
};

QString cost_text(double cost) {
  if (cost == 0.0) return "0.0";
  // A choice that was not the best never reads as free.
  if (cost < 0.05) return "<0.1";
  return QString::number(cost, 'f', 1);
}

// A turn's cells, in the order of kColumns.
QStringList cells(const TurnReview& row, bool first_of_round) {
  const Turn& turn = row.turn;
  const QString round = first_of_round ? QString::number(turn.round) : QString();
  if (turn.shut == 0) return {round, QString::number(turn.total()), Tcoach::tr("no play"), "-", ""};
  return {round, QString::number(turn.total()), QString::fromStdString(tiles_text(turn.shut)),
          QString::fromStdString(tiles_text(row.best)), cost_text(row.cost)};
}

}  // namespace

Tcoach::Tcoach(const GameRecord& record, QWidget* parent) : QWidget(parent, Qt::Tool), record_(record) {
  LbBackground1 = set_up_secondary_window(
      this, {"Tcoach", tr("Velnor Solo - Coach"), QSize(404, kLeastHeight), SecondaryPlace::beside_owner_first, true});
  build_form();
  // As tall as the game's rows need, and no taller than the work area of its owner's screen (less
  // the frame the window manager gives the owner, which this window will get too).
  const int rows = static_cast<int>(record_.turns().size());
  const int wanted = kLeastHeight + std::max(0, rows * kRowHeight - kRowsHeight);
  const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
  const int frame = parent != nullptr ? parent->frameGeometry().height() - parent->height() : 0;
  const int room = screen != nullptr ? screen->availableGeometry().height() - frame : wanted;
  resize(width(), std::max(kLeastHeight, std::min(wanted, room)));
}

// The rows take whatever height the window has; the chart and the headings above them stay.
void Tcoach::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (panel_ == nullptr) return;  // sized before its form was built
  const int grown = height() - kLeastHeight;
  panel_->resize(panel_->width(), kPanelHeight + grown);
  scroll_rows->resize(scroll_rows->width(), kRowsHeight + grown);
  button_done->move(button_done->x(), kDoneTop + grown);
}

void Tcoach::build_form() {
  TFlatPanel* panel = make_panel(this, "FlatPanel1", QRect(6, 6, 392, kPanelHeight), true, clBlack);
  panel_ = panel;
  const QFont title = tfont(kFormFont, -19, {.bold = true, .underline = true});
  const QFont text = tfont(kFormFont, -13, {.bold = true});
  const auto centred = Qt::AlignHCenter | Qt::AlignTop;
  make_label(panel, "label_title", "GAME COACH", QRect(1, 5, 389, 24), title, kPaleYellow, centred);
  label_bestplay = make_label(panel, "label_bestplay", "", QRect(1, 38, 389, 16), text, kPaleYellow, centred);
  label_totalcost = make_label(panel, "label_totalcost", "", QRect(1, 58, 389, 16), text, kPaleYellow, centred);

  chart = new TCoachChart(panel);
  chart->setObjectName("chart");
  chart->setGeometry(14, 84, 364, 124);

  const QFont heading = tfont(kFormFont, -13, {.bold = true, .underline = true});
  for (const Column& column : kColumns)
    make_label(panel, QString(column.name) + "_heading", tr(column.heading),
               QRect(12 + column.left, 218, column.width, 16), heading, kPaleYellow, column.alignment | Qt::AlignTop);

  scroll_rows = new QScrollArea(panel);
  scroll_rows->setObjectName("scroll_rows");
  scroll_rows->setGeometry(12, 240, 372, kRowsHeight);
  scroll_rows->setFrameShape(QFrame::NoFrame);
  scroll_rows->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroll_rows->viewport()->setAutoFillBackground(false);
  // It takes the keyboard to scroll the rows.
  scroll_rows->setAccessibleName(tr("Turns"));

  button_done = make_button(panel, "button_done", "DONE", QRect(285, kDoneTop, 95, 26));
  connect(button_done, &TSelButton::click, this, [this] { button_doneClick(); });
}

void Tcoach::refresh() {
  const GameReview review = review_game(record_);
  label_bestplay->setText(tr("Best play averages %1 a game").arg(review.best_game, 0, 'f', 1));
  label_totalcost->setText(review.turns.empty() ? tr("No turns to review yet")
                                                : tr("Your choices cost %1 points").arg(review.total_cost, 0, 'f', 1));
  chart->set_scores(review.round_scores, review.best_round);

  // The rows are made afresh (setting the new sheet deletes the old one), and stay where the player
  // scrolled them. Made inside the window, so that a screen reader's interface for each cell, made
  // as the cell is, knows it for one.
  const int scrolled = scroll_rows->verticalScrollBar()->value();
  auto* sheet = new QWidget(scroll_rows);
  sheet->setObjectName("rows");
  sheet->setAutoFillBackground(false);
  const QFont text = tfont(kFormFont, -13, {.bold = true});
  int previous_round = 0;
  for (std::size_t i = 0; i < review.turns.size(); ++i) {
    const TurnReview& row = review.turns[i];
    const QStringList texts = cells(row, row.turn.round != previous_round);
    previous_round = row.turn.round;
    const int top = static_cast<int>(i) * kRowHeight;
    if (row.cost >= kCostlyTurn) {
      auto* band = new QWidget(sheet);
      band->setObjectName(QString("band%1").arg(i + 1));
      band->setGeometry(0, top + 1, kSheetWidth, kRowHeight - 2);
      set_window_color(band, kCostlyBand);
      band->setAutoFillBackground(true);
    }
    for (int c = 0; c < static_cast<int>(std::size(kColumns)); ++c)
      make_label(sheet, QString("%1%2").arg(kColumns[c].name).arg(i + 1), texts[c],
                 QRect(kColumns[c].left, top, kColumns[c].width, kRowHeight), text, kPaleYellow,
                 kColumns[c].alignment | Qt::AlignVCenter);
  }
  sheet->setFixedSize(kSheetWidth, static_cast<int>(review.turns.size()) * kRowHeight);
  scroll_rows->setWidget(sheet);
  scroll_rows->verticalScrollBar()->setValue(scrolled);
}

QStringList Tcoach::column_headings() {
  QStringList headings;
  for (const Column& column : kColumns) headings << tr(column.heading);
  return headings;
}

int Tcoach::row_count() const {
  const QWidget* sheet = scroll_rows->widget();
  return sheet == nullptr ? 0 : sheet->height() / kRowHeight;
}

QLabel* Tcoach::cell(int row, int column) const {
  const QWidget* sheet = scroll_rows->widget();
  if (sheet == nullptr || row < 0 || row >= row_count() || column < 0 || column >= std::ssize(kColumns)) return nullptr;
  return sheet->findChild<QLabel*>(QString("%1%2").arg(kColumns[column].name).arg(row + 1), Qt::FindDirectChildrenOnly);
}

QLabel* Tcoach::heading(int column) const {
  if (column < 0 || column >= std::ssize(kColumns)) return nullptr;
  return findChild<QLabel*>(QString(kColumns[column].name) + "_heading");
}

void Tcoach::game_changed() {
  if (isVisible()) refresh();
}

void Tcoach::button_doneClick() { hide(); }

void Tcoach::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  refresh();
  // Opened, it reads from the first turn down.
  scroll_rows->verticalScrollBar()->setValue(0);
}

}  // namespace velnor
