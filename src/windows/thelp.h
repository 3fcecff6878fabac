#pragma once

#include <QDate>
#include <QWidget>

#include <functional>

class QLabel;
class QTextEdit;

namespace velnor {

class TFlatPanel;
class TLbBackground;
class TSelButton;

// The rules of the game on four pages, one shown at a time, chosen with the
// page buttons of the side bar.
class Thelp : public QWidget {
  Q_OBJECT
 public:
  // about is the window that the About button shows; the year line shows the
  // year of `today`.
  // about gives the about window, which the ABOUT button shows (built when first wanted).
  explicit Thelp(std::function<QWidget*()> about, QWidget* parent = nullptr, QDate today = QDate::currentDate());

  // The page switch of all page buttons: brings the page named "memo" and the
  // button's tag to the front and heads it with the button's caption.
  void SelButton1Click(TSelButton* sender);
  void button_aboutClick();
  void button_doneClick();

  TFlatPanel* panel_side = nullptr;
  TSelButton* SelButton1 = nullptr;
  TSelButton* SelButton3 = nullptr;
  TSelButton* SelButton4 = nullptr;
  TSelButton* SelButton5 = nullptr;
  TSelButton* button_about = nullptr;
  QLabel* label_year = nullptr;
  TSelButton* button_done = nullptr;
  TFlatPanel* panel_main = nullptr;
  QLabel* label_caption = nullptr;
  QTextEdit* memo1 = nullptr;
  QTextEdit* memo3 = nullptr;
  QTextEdit* memo4 = nullptr;
  QTextEdit* memo5 = nullptr;
  TLbBackground* LbBackground1 = nullptr;

 private:
  void FormCreate(const QDate& today);
  void build_side();
  void build_pages();
  TSelButton* page_button(const QString& name, const QString& caption, int top, int tag);
  QTextEdit* page(const QString& name, const QStringList& lines);

  std::function<QWidget*()> about_;
};

}  // namespace velnor
