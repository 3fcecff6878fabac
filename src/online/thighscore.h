#pragma once

#include <QWidget>

#include <functional>
#include <memory>
#include <string>

#include "online/thttpget.h"
#include "windows/turl.h"

namespace velnor {

class HtmlView;
class TLbBackground;
class TSelButton;

// The online high-score window: posts a finished game's score and shows the
// server's page of best scores.
class Thighscore : public QWidget {
  Q_OBJECT
 public:
  // base is the game server's address, "http://" and a host, ending in "/".
  Thighscore(std::string base, PostToUi post_to_ui, TURL::Launcher launcher = {}, QWidget* parent = nullptr);
  ~Thighscore() override;

  void loadit();
  // game: the played game's record (see game/playedgame.h), which lets the server verify the score.
  void sendscore(const QString& name, const QString& date, const QString& score, const std::string& game = {});

  // Run when a posting is stored (a 2xx reply), before the page is loaded and shown.
  std::function<void()> on_posted;
  // Run when the server answers a posting with any other status: it was not stored.
  // `untrusted` says why the server could not be trusted (its certificate did not hold), for
  // those who ask; empty for any other refusal.
  std::function<void(const std::string& untrusted)> on_refused;

  THTTPGet sendit;
  THTTPGet getit;
  TURL URL1;
  HtmlView* displayhtml = nullptr;
  TSelButton* button_done = nullptr;
  TLbBackground* LbBackground1 = nullptr;

 private:
  void senditDoneString();
  // Says in the page's place that the page was not shown.
  void refuse_page();
  void displayhtmlHotSpotClick(const QString& url);

  std::string base_;
};

}  // namespace velnor
