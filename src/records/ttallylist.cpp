#include "ttallylist.h"

#include <QDate>
#include <QLabel>
#include <QLocale>

#include "core/safefile.h"
#include "core/wire.h"
#include "records/filetext.h"
#include "records/savefailures.h"
#include "records/unreadablefile.h"
#include "windows/dialogs.h"
#include "windows/formcontrols.h"
#include "windows/labeltable.h"
#include "windows/secondarywindow.h"
#include "windows/tcolor.h"
#include "windows/tflatpanel.h"
#include "windows/tfont.h"
#include "windows/tlbbackground.h"
#include "windows/tselbutton.h"

namespace velnor {

namespace {

const char* const kRowColumns[] = {"label_num", "label_date", "label_name", "label_high"};

int row_top(int rank) { return 126 + 24 * (rank - 1); }

QString shown(const std::string& bytes) { return file_text_to_display(bytes); }

}  // namespace

Ttallylist::Ttallylist(Dialogs& dialogs, SaveFailures& failures, const std::filesystem::path& folder, QWidget* parent)
    : QWidget(parent, Qt::Tool), dialogs_(dialogs), failures_(failures), path_(folder / wire::kTallyFile) {
  LbBackground1 = set_up_secondary_window(
      this, {"Ttallylist", tr("Velnor Solo - Tally List"), QSize(342, 425), SecondaryPlace::on_owner_always});
  build_form();
  FormCreate();
}

Ttallylist::~Ttallylist() { savetally(); }

void Ttallylist::savetally() {
  // A tally file that could not be read, and is still at its name, is the player's to recover.
  if (!writable_) return;
  // A failed save keeps the old file whole, and the player hears of it.
  try {
    records_.save(path_.string());
  } catch (const std::exception& error) {
    failures_.report(this, QT_TRANSLATE_NOOP("SaveFailures", "Your tally"), path_, error.what());
  }
}

void Ttallylist::build_form() {
  TFlatPanel* panel = make_panel(this, "FlatPanel1", QRect(6, 6, 331, 413), true, clBlack);
  const QFont title = tfont(kFormFont, -19, {.bold = true, .underline = true});
  const QFont text = tfont(kFormFont, -13, {.bold = true});
  const auto centred = Qt::AlignHCenter | Qt::AlignTop;
  const auto right = Qt::AlignRight | Qt::AlignTop;
  make_label(panel, "label_myname", tr("YOUR TALLY LIST"), QRect(1, 5, 328, 24), title, kPaleYellow, centred);
  make_label(panel, "Label1", tr("Total Games:"), QRect(88, 42, 101, 16), text, kPaleYellow, right);
  make_label(panel, "mylabel_1", "0", QRect(194, 42, 59, 16), text, kPaleYellow, centred);
  make_label(panel, "Label2", tr("Velnores:"), QRect(69, 67, 120, 16), text, kPaleYellow, right);
  make_label(panel, "mylabel_2", "0", QRect(194, 67, 59, 16), text, kPaleYellow, centred);
  make_label(panel, "Label3", tr("HIGH SCORES"), QRect(1, 96, 328, 24), title, kPaleYellow, centred);
  // The ranks lie on a sheet of their own that a screen reader reads as a table.
  auto* sheet = new QWidget(panel);
  sheet->setObjectName("ranks");
  const int top = row_top(1);
  sheet->setGeometry(0, top, panel->width(), row_top(TallyRecords::kRanks) + 16 - top);
  auto* table = new LabelTable(sheet, tr("High scores"), {tr("Rank"), tr("Date"), tr("Name"), tr("Score")});
  for (int rank = 1; rank <= TallyRecords::kRanks; ++rank) {
    const int y = row_top(rank) - top;
    QLabel* number = make_label(sheet, QString("label_num%1").arg(rank), QString("%1.").arg(rank), QRect(5, y, 24, 16),
                                text, kPaleYellow, right);
    QLabel* date = make_label(sheet, QString("label_date%1").arg(rank), "", QRect(32, y, 101, 16), text, kPaleYellow);
    QLabel* name = make_label(sheet, QString("label_name%1").arg(rank), "", QRect(136, y, 132, 16), text, kPaleYellow);
    // The score's width follows its text; the panel's edge is the limit.
    QLabel* score = make_label(sheet, QString("label_high%1").arg(rank), "", QRect(286, y, 44, 16), text, kPaleYellow);
    table->add_row(number, {date, name, score});
  }
  button_reset = make_button(panel, "button_reset", tr("RESET TALLY"), QRect(80, 377, 137, 26));
  button_done = make_button(panel, "button_done", tr("DONE"), QRect(226, 377, 95, 26));
  connect(button_reset, &TSelButton::click, this, [this] { button_resetClick(); });
  connect(button_done, &TSelButton::click, this, [this] { button_doneClick(); });
}

void Ttallylist::FormCreate() {
  remove_stale_temporaries(path_);
  try {
    records_.load(path_.string());
  } catch (const std::exception& error) {
    // Nothing is ever written over the player's records: the file is kept aside first.
    const UnreadableOutcome outcome = set_aside_unreadable(
        path_, error, QT_TRANSLATE_NOOP("UnreadableFile", "Your tally"),
        QT_TRANSLATE_NOOP("UnreadableFile", "a new tally was started"),
        QT_TRANSLATE_NOOP("UnreadableFile", "the games of this session are not recorded in it"), local_time_now());
    records_ = TallyRecords();
    writable_ = outcome.replaceable;
    dialogs_.problem(this, QString::fromStdString(outcome.message), QString::fromStdString(outcome.details));
  }
  loadtally();
}

QLabel* Ttallylist::rank_label(const char* column, int rank) const {
  return findChild<QLabel*>(QString("%1%2").arg(column).arg(rank));
}

void Ttallylist::loadtally() {
  findChild<QLabel*>("mylabel_1")->setText(shown(records_.counter(TallyRecords::kGamesColumn)));
  findChild<QLabel*>("mylabel_2")->setText(shown(records_.counter(TallyRecords::kAllShutColumn)));
  for (int rank = 1; rank <= TallyRecords::kRanks; ++rank) {
    rank_label("label_date", rank)->setText(shown(records_.date(rank)));
    rank_label("label_name", rank)->setText(shown(records_.name(rank)));
    rank_label("label_high", rank)->setText(shown(records_.score_text(rank)));
    show_row_look(rank);
  }
}

void Ttallylist::show_row_look(int rank) {
  const RowLook look = records_.row_look(rank);
  const std::uint32_t color = look == RowLook::starting  ? kPaleYellow
                              : look == RowLook::entered ? kEnteredRed
                                                         : clWhite;
  for (const char* column : kRowColumns) {
    QLabel* label = rank_label(column, rank);
    QFont font = label->font();
    font.setBold(look != RowLook::plain);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, tcolor(color));
    label->setPalette(palette);
  }
}

void Ttallylist::addtomineincrease(int which) {
  try {
    records_.addtomineincrease(which);
  } catch (const ConversionError& error) {
    // A damaged counter is reported, and the game goes on all the same.
    dialogs_.error(this, QString::fromUtf8(error.what()));
  }
  findChild<QLabel*>(QString("mylabel_%1").arg(which))->setText(shown(records_.counter(which)));
}

void Ttallylist::checkscore(int score, const QString& name) {
  const QString date = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
  records_.checkscore(score, name.toUtf8().toStdString(), date.toUtf8().toStdString());
  loadtally();
  // A finished game is on the disk at once: a crash or a power cut later loses nothing.
  savetally();
}

void Ttallylist::button_resetClick() {
  if (!dialogs_.ask_yes_no(this, tr("Are you sure you want to reset the Tally?"))) return;
  records_.reset();
  loadtally();
  savetally();
}

void Ttallylist::button_doneClick() { hide(); }

}  // namespace velnor
