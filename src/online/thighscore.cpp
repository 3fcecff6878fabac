#include "thighscore.h"

#include "core/wire.h"
#include "online/pagemeasure.h"
#include "online/percentencode.h"
#include "records/filetext.h"
#include "windows/formcontrols.h"
#include "windows/htmlview.h"
#include "windows/secondarywindow.h"
#include "windows/tcolor.h"
#include "windows/tflatpanel.h"
#include "windows/timage.h"
#include "windows/tlbbackground.h"
#include "windows/tselbutton.h"

namespace velnor {

namespace {

std::string utf8(const QString& text) { return text.toUtf8().toStdString(); }

// Only a 2xx reply to a posting says the score was stored.
bool stored(int status) { return status >= 200 && status <= 299; }

const char* const kPageRefused =
    QT_TRANSLATE_NOOP("velnor::Thighscore", "<p>The high-score page is too large or too deeply nested to show.</p>");

// On the worker: the page as the view may be given it, or the notice in its place.
std::string page_to_show(const std::string& page, ImageBox box) {
  MeasuredPage measured = measure_page(page, box);
  return measured.fault == PageFault::none ? std::move(measured.page) : kPageRefused;
}

}  // namespace

Thighscore::Thighscore(std::string base, PostToUi post_to_ui, TURL::Launcher launcher, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      sendit(post_to_ui),
      getit(post_to_ui),
      URL1(std::move(launcher)),
      base_(std::move(base)) {
  LbBackground1 = set_up_secondary_window(
      this, {"Thighscore", tr("Velnor Solo - High Scores"), QSize(603, 561), SecondaryPlace::on_desktop_first});

  make_picture(this, "Image1", QRect(0, 0, 97, 104), ":/images/about.png")->setAccessibleName("Velnor");
  TFlatPanel* panel_main = make_panel(this, "panel_main", QRect(112, 8, 481, 507), false, clWhite);
  panel_main->setColor(kPageBlue);
  displayhtml = new HtmlView(panel_main);
  displayhtml->setObjectName("displayhtml");
  displayhtml->setAccessibleName(tr("High score list"));
  displayhtml->setGeometry(1, 1, 479, 505);
  button_done = make_button(this, "button_done", tr("DONE"), QRect(498, 521, 95, 32));
  connect(button_done, &TSelButton::click, this, &QWidget::hide);
  connect(displayhtml, &HtmlView::hotSpotClick, this,
          [this](HtmlView*, const QString& url, bool&) { displayhtmlHotSpotClick(url); });

  URL1.URLType = utnone;
  // A page longer than may be shown is not read on.
  getit.max_body = kMaxPageBytes;
  getit.OnPrepare = [box = ImageBox{static_cast<std::uint32_t>(displayhtml->width()),
                                    static_cast<std::uint32_t>(displayhtml->height())}](std::string& page) {
    page = page_to_show(page, box);
  };
  getit.OnDoneString = [this](THTTPGet*, const std::string& page) {
    // The worker's notice is put in the player's language here, where the translation is at hand.
    if (page == kPageRefused) return refuse_page();
    displayhtml->load_html(file_text_to_display(page));
  };
  getit.OnError = [this](THTTPGet* get) {
    if (get->body_too_large()) refuse_page();
  };
  sendit.OnDoneString = [this](THTTPGet*, const std::string&) { senditDoneString(); };
  // A refusal without a body, or one whose body never ends, is a refusal all the same, and so is
  // no answer at all: no server, a refused or reset connection, a name that does not resolve.
  sendit.OnError = [this](THTTPGet* get) {
    if (!stored(get->status_code()) && on_refused) on_refused(get->untrusted_reason());
  };
}

Thighscore::~Thighscore() = default;

void Thighscore::loadit() {
  getit.PostQuery.clear();
  getit.URL = base_ + std::string(wire::kHighScorePath);
  getit.FetchString();
}

void Thighscore::sendscore(const QString& name, const QString& date, const QString& score, const std::string& game) {
  sendit.URL = base_ + std::string(wire::kPostingPath) + "?name=" + percent_encode(utf8(name)) +
               "&date=" + percent_encode(utf8(date)) + "&score=" + utf8(score);
  if (!game.empty()) sendit.URL += "&game=" + percent_encode(game);
  sendit.FetchString();
}

void Thighscore::refuse_page() { displayhtml->load_html(tr(kPageRefused)); }

void Thighscore::senditDoneString() {
  if (!stored(sendit.status_code())) {
    if (on_refused) on_refused({});
    return;
  }
  if (on_posted) on_posted();
  loadit();
  show_window(this);
}

void Thighscore::displayhtmlHotSpotClick(const QString& url) {
  // The page comes from the network: only web addresses go to the browser.
  if (!url.startsWith("http://", Qt::CaseInsensitive) && !url.startsWith("https://", Qt::CaseInsensitive)) return;
  URL1.URL = url;
  URL1.Open();
}

}  // namespace velnor
