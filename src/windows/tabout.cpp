#include "tabout.h"

#include <QLabel>

#include "core/serveraddress.h"
#include "core/version.h"
#include "windows/formcontrols.h"
#include "windows/secondarywindow.h"
#include "windows/tcolor.h"
#include "windows/tfont.h"
#include "windows/timage.h"
#include "windows/tlbbackground.h"
#include "windows/tselbutton.h"

namespace velnor {

namespace {

// A label as wide and high as its text, as the form's self-sizing labels are.
QLabel* fitted_label(QWidget* parent, const QString& name, const QString& text, QPoint at, const QFont& font,
                     std::uint32_t color) {
  QLabel* label = make_label(parent, name, text, QRect(at, QSize()), font, color);
  label->adjustSize();
  return label;
}

}  // namespace

QString year_text(const QDate& date) { return QString("%1").arg(date.year(), 4, 10, QChar('0')); }

Tabout::Tabout(QWidget* parent, TURL::Launcher launcher, QDate today)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      URL1(std::move(launcher)) {
  LbBackground1 = set_up_secondary_window(this, {"Tabout", tr("Velnor Solo - About"), QSize(304, 193)});
  build_form();
  FormCreate(today);
}

void Tabout::build_form() {
  Image1 = make_picture(this, "Image1", QRect(2, 2, 97, 104), ":/images/about.png");
  Image1->setAccessibleName("Velnor");
  Label5 = make_label(this, "Label5", "VELNOR", QRect(111, 26, 177, 26), tfont(kSerifFont, -24, {.bold = true}),
                      kBrightGreen, Qt::AlignHCenter | Qt::AlignTop);
  Label7 = make_link_label(this, "Label7", QString::fromStdString(maker_home()), QRect(104, 72, 201, 20),
                           tfont(kFormFont, -16, {.bold = true, .underline = true}), clBlack);
  connect(Label7, &TImage::click, this, [this] { Label7Click(); });

  const QFont credit = tfont(kSerifFont, -13, {.bold = true});
  Label6 = fitted_label(this, "Label6", tr("A game by %1").arg(kMakerName), {4, 122}, credit, clBlack);
  Label3 = fitted_label(this, "Label3", tr("Copyright %1 -").arg(kFirstYear), {4, 138}, credit, clBlack);
  label_year = fitted_label(this, "label_year", "2011", {108, 138}, credit, clBlack);
  Label4 = fitted_label(this, "Label4", kMakerName, {146, 138}, credit, clBlack);
  Label2 = fitted_label(this, "Label2", tr("All rights reserved."), {4, 154}, credit, clBlack);
  // One text, so that a screen reader reads the version whole.
  version =
      fitted_label(this, "version", tr("Version %1").arg(QString::fromLatin1(kVersion.data(), kVersion.size()) + ".2"),
                   {48, 171}, credit, kBrightGreen);

  button_done = make_button(this, "button_done", tr("Done"), QRect(202, 164, 95, 20), -13);
  connect(button_done, &TSelButton::click, this, [this] { button_doneClick(); });

  URL1.URL = QString::fromStdString(maker_host());
  URL1.URLType = is_secure_base() ? utHttps : utHttp;
}

void Tabout::FormCreate(const QDate& today) {
  // The main window's background holds no picture, so there is none to copy
  // and the window shows its plain colour.
  label_year->setText(year_text(today));
  label_year->adjustSize();
}

void Tabout::Label7Click() { URL1.Open(); }

void Tabout::button_doneClick() { close(); }

}  // namespace velnor
