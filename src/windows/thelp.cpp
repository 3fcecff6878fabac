#include "thelp.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QTextEdit>

#include "windows/formcontrols.h"
#include "windows/secondarywindow.h"
#include "windows/tabout.h"
#include "windows/tcolor.h"
#include "windows/tflatpanel.h"
#include "windows/tfont.h"
#include "windows/tlbbackground.h"
#include "windows/tselbutton.h"

namespace velnor {

namespace {

constexpr int kSideWidth = 137;

// Each line is a paragraph of its page; blanks at either end are the text's own. The lines are
// translated one by one, so that a translation keeps the page's shape.
const char* const kOverview[] = {
    QT_TRANSLATE_NOOP("velnor::Thelp", "Overview"),
    "",
    QT_TRANSLATE_NOOP("velnor::Thelp", "We play this game a lot while hanging out with my friends and family."),
    "",
    QT_TRANSLATE_NOOP("velnor::Thelp", "This game is dedicated to everyone who has ever stayed at the table"),
    QT_TRANSLATE_NOOP("velnor::Thelp", "for just one more round."),
};

const char* const kGamePlay[] = {
    QT_TRANSLATE_NOOP("velnor::Thelp", "Game Play"),
    "",
    QT_TRANSLATE_NOOP("velnor::Thelp", "The game consists of 10 rounds."),
    "",
    QT_TRANSLATE_NOOP("velnor::Thelp",
                      "After rolling the dice, you select boxes to shut that equal the sum of the dice. "),
    QT_TRANSLATE_NOOP("velnor::Thelp", "The boxes must be open in order to select them.  "),
    "",
    QT_TRANSLATE_NOOP("velnor::Thelp", "For example, if you roll a 1 and a 5, you can choose to cover up one of the "),
    QT_TRANSLATE_NOOP("velnor::Thelp", "sets of numbers below as long as the box is open."),
    "",
    "6",
    QT_TRANSLATE_NOOP("velnor::Thelp", "1 and 5"),
    QT_TRANSLATE_NOOP("velnor::Thelp", "2 and 4"),
    QT_TRANSLATE_NOOP("velnor::Thelp", "1, 2, and 3"),
    "",
    QT_TRANSLATE_NOOP("velnor::Thelp",
                      "If at any time during the round, you cannot close boxes that equal the sum of "),
    QT_TRANSLATE_NOOP("velnor::Thelp", "the dice, then the round will end."),
    " ",
};

const char* const kScoring[] = {
    QT_TRANSLATE_NOOP("velnor::Thelp", "Scoring"),
    "",
    QT_TRANSLATE_NOOP("velnor::Thelp", "You receive points equal to the boxes that you shut."),
    "",
    QT_TRANSLATE_NOOP("velnor::Thelp", "If you shut all the boxes, you receive a 20 point bonus."),
    " ",
};

const char* const kHistory[] = {
    QT_TRANSLATE_NOOP("velnor::Thelp", "History"),
    "",
    QT_TRANSLATE_NOOP("velnor::Thelp", "July 13, 2013 - Version 1.0.0.2"),
    QT_TRANSLATE_NOOP("velnor::Thelp", "  -Fixed about form image"),
    QT_TRANSLATE_NOOP("velnor::Thelp", "Jan 10, 2012 - Version 1.0.0.1"),
    "",
    " ",
};

// A page's lines in the player's language, blank lines and all.
template <std::size_t N>
QStringList translated(const char* const (&lines)[N]) {
  QStringList page;
  for (const char* line : lines) page << Thelp::tr(line);
  return page;
}

}  // namespace

Thelp::Thelp(std::function<QWidget*()> about, QWidget* parent, QDate today)
    : QWidget(parent, Qt::Window), about_(std::move(about)) {
  // The one secondary window that the player may resize.
  LbBackground1 = set_up_secondary_window(this, {"Thelp", tr("Velnor Solo - Help File"), QSize()});

  // The side bar keeps its width; the page area takes what the window gives.
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  panel_side = make_panel(this, "panel_side", QRect(), true, clBlack);
  panel_side->setFixedWidth(kSideWidth);
  panel_main = make_panel(this, "panel_main", QRect(), true, clBlack);
  layout->addWidget(panel_side);
  layout->addWidget(panel_main, 1);

  build_side();
  build_pages();
  FormCreate(today);
}

TSelButton* Thelp::page_button(const QString& name, const QString& caption, int top, int tag) {
  TSelButton* button = make_button(panel_side, name, caption, QRect(7, top, 122, 20), -13);
  button->setTag(tag);
  button->setAlignment(TAlignment::taLeftJustify);
  return button;
}

void Thelp::build_side() {
  SelButton1 = page_button("SelButton1", tr("Overview"), 8, 1);
  SelButton3 = page_button("SelButton3", tr("Game Play"), 32, 3);
  SelButton4 = page_button("SelButton4", tr("Scoring"), 56, 4);
  SelButton5 = page_button("SelButton5", tr("Documentation"), 80, 5);
  for (TSelButton* button : {SelButton1, SelButton3, SelButton4, SelButton5})
    connect(button, &TSelButton::click, this, &Thelp::SelButton1Click);
  button_about = page_button("button_about", tr("About"), 152, 10);
  connect(button_about, &TSelButton::click, this, [this] { button_aboutClick(); });

  const QFont credit = tfont(kFormFont, -11);
  const QString lines[] = {tr("Velnor Solo by"), kMakerName, tr("Copyright %1 -").arg(kFirstYear),
                           tr("All rights reserved.")};
  for (int k = 0; k < 4; ++k)
    make_label(panel_side, QString("Label%1").arg(k + 1), lines[k], QRect(12, 336 + 16 * k, 120, 13), credit, clBlack);
  label_year = make_label(panel_side, "label_year", "2011", QRect(100, 368, 32, 13), credit, clBlack);

  button_done = make_button(panel_side, "button_done", tr("Done"), QRect(18, 404, 95, 20), -13);
  button_done->setTag(10);
  connect(button_done, &TSelButton::click, this, [this] { button_doneClick(); });
}

void Thelp::build_pages() {
  // Inside the panel's one-pixel frame: the heading on top, the pages below it,
  // all four in the same place, one over the other.
  auto* layout = new QGridLayout(panel_main);
  layout->setContentsMargins(1, 1, 1, 1);
  layout->setSpacing(0);
  label_caption = make_label(panel_main, "label_caption", tr("Overview"), QRect(),
                             tfont(kFormFont, -16, {.bold = true}), clBlack, Qt::AlignCenter);
  label_caption->setFixedHeight(20);
  layout->addWidget(label_caption, 0, 0);
  memo1 = page("memo1", translated(kOverview));
  memo3 = page("memo3", translated(kGamePlay));
  memo4 = page("memo4", translated(kScoring));
  memo5 = page("memo5", translated(kHistory));
  for (QTextEdit* memo : {memo1, memo3, memo4, memo5}) layout->addWidget(memo, 1, 0);
}

QTextEdit* Thelp::page(const QString& name, const QStringList& lines) {
  auto* memo = new QTextEdit(panel_main);
  memo->setObjectName(name);
  memo->setAccessibleName(lines.value(0));  // each page's first line is its title
  memo->setReadOnly(true);
  memo->setFrameShape(QFrame::NoFrame);
  memo->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo->setLineWrapMode(QTextEdit::WidgetWidth);
  memo->setFocusPolicy(Qt::ClickFocus);
  memo->setFont(tfont(kButtonFont, -11));
  QPalette palette = memo->palette();
  palette.setColor(QPalette::Base, tcolor(kCream));
  palette.setColor(QPalette::Text, tcolor(clBlack));
  memo->setPalette(palette);

  // Plain text put in paragraph by paragraph keeps every blank and empty line,
  // which HTML would fold away.
  QTextDocument* document = memo->document();
  document->setUndoRedoEnabled(false);
  document->setDocumentMargin(5);
  QTextCursor cursor(document);
  for (qsizetype k = 0; k < lines.size(); ++k) {
    if (k > 0) cursor.insertBlock();
    cursor.insertText(lines[k]);
  }
  return memo;
}

void Thelp::FormCreate(const QDate& today) {
  // The Overview page comes first, whatever the order the pages were made in.
  memo1->raise();
  // The main window's background holds no picture, so there is none to copy
  // and the window shows its plain colour.
  label_year->setText(year_text(today));
}

void Thelp::SelButton1Click(TSelButton* sender) {
  auto* page = findChild<QWidget*>(QString("memo%1").arg(sender->tag()));
  if (page == nullptr) return;
  page->raise();
  label_caption->setText(sender->caption());
}

void Thelp::button_aboutClick() { show_window(about_ ? about_() : nullptr); }

void Thelp::button_doneClick() { hide(); }

}  // namespace velnor
