#pragma once

#include <QDate>
#include <QWidget>

#include <cstdint>

#include "windows/turl.h"

class QLabel;

namespace velnor {

class TImage;
class TLbBackground;
class TSelButton;

// The about window: title, picture, the maker's web link, the credit and year
// lines, and the version line whose `version` text is the program's version.
class Tabout : public QWidget {
  Q_OBJECT
 public:
  // launcher opens web addresses (the desktop's browser by default); the year
  // line shows the year of `today`.
  explicit Tabout(QWidget* parent = nullptr, TURL::Launcher launcher = {}, QDate today = QDate::currentDate());

  void Label7Click();
  void button_doneClick();

  TImage* Image1 = nullptr;
  QLabel* Label5 = nullptr;
  TImage* Label7 = nullptr;
  QLabel* Label6 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* label_year = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* version = nullptr;
  TSelButton* button_done = nullptr;
  TLbBackground* LbBackground1 = nullptr;
  // The maker's home page; the main window's logo opens it too.
  TURL URL1;

 private:
  void FormCreate(const QDate& today);
  void build_form();
};

// The maker as the about and help windows credit it.
inline constexpr const char* kMakerName = "Ninefold Lantern Games";
inline constexpr int kFirstYear = 2026;

// A year as the year lines show it: four digits.
QString year_text(const QDate& date);

}  // namespace velnor
