#include "tmultiplayer.h"

#include "core/serveraddress.h"
#include "windows/formcontrols.h"
#include "windows/secondarywindow.h"
#include "windows/tabout.h"
#include "windows/tcolor.h"
#include "windows/tfont.h"
#include "windows/timage.h"
#include "windows/tlbbackground.h"
#include "windows/tselbutton.h"

namespace velnor {

namespace {

// The maker's online game service, where the multiplayer edition is played.
const QString kServiceName = QStringLiteral("Lantern Tables Online");

}  // namespace

Tmultiplayer::Tmultiplayer(QWidget* parent, TURL::Launcher launcher)
    : QWidget(parent, Qt::Tool), URL1(std::move(launcher)) {
  LbBackground1 = set_up_secondary_window(this, {"Tmultiplayer", tr("Velnor Solo - Multiplayer"), QSize(569, 431)});
  build_form();
  // FormCreate: the main window's background holds no picture, so there is
  // none to copy and the window shows its plain colour.
}

void Tmultiplayer::build_form() {
  const QString host = QString::fromStdString(maker_host());
  Label6 =
      make_link_label(this, "Label6", tr("If you enjoy this game, check out the multiplayer version at %1!").arg(host),
                      QRect(0, 16, 563, 23), tfont(kSerifFont, -16, {.bold = true}), kPaleYellow);
  Label1 = make_link_label(this, "Label1",
                           tr("Click HERE to learn how to Play Velnor against others in %1!").arg(kServiceName),
                           QRect(32, 48, 489, 41), tfont(kSerifFont, -19, {.bold = true}), kPaleYellow);
  Image1 = make_picture(this, "Image1", QRect(80, 96, 400, 300), ":/images/multiplayer.png");
  Image1->setCursor(Qt::PointingHandCursor);
  Image1->setAccessibleName(tr("Multiplayer version of Velnor in %1").arg(kServiceName));
  for (TImage* item : {Label6, Label1, Image1}) connect(item, &TImage::click, this, [this] { Label6Click(); });

  button_done = make_button(this, "button_done", tr("Done"), QRect(458, 403, 95, 20), -13);
  connect(button_done, &TSelButton::click, this, [this] { button_doneClick(); });

  URL1.URL = QString::fromStdString(multiplayer_page());
  URL1.URLType = is_secure_base() ? utHttps : utHttp;
}

void Tmultiplayer::Label6Click() { URL1.Open(); }

void Tmultiplayer::button_doneClick() { close(); }

}  // namespace velnor
