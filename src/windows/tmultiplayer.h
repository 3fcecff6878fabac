#pragma once

#include <QWidget>

#include "windows/turl.h"

namespace velnor {

class TImage;
class TLbBackground;
class TSelButton;

// Presents the multiplayer edition: two lines of text and a screenshot, each
// opening the web page about it.
class Tmultiplayer : public QWidget {
  Q_OBJECT
 public:
  // launcher opens web addresses (the desktop's browser by default).
  explicit Tmultiplayer(QWidget* parent = nullptr, TURL::Launcher launcher = {});

  void Label6Click();
  void button_doneClick();

  TImage* Label6 = nullptr;
  TImage* Label1 = nullptr;
  TImage* Image1 = nullptr;
  TSelButton* button_done = nullptr;
  TLbBackground* LbBackground1 = nullptr;
  TURL URL1;

 private:
  void build_form();
};

}  // namespace velnor
