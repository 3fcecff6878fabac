#pragma once

#include <QWidget>

#include <filesystem>

#include "records/tallycalls.h"
#include "records/tallyrecords.h"

class QLabel;

namespace velnor {

class Dialogs;
class SaveFailures;
class TLbBackground;
class TSelButton;

// The player's local record book: two counters and the ten best games, read
// from the tally file at start and written back at exit.
class Ttallylist : public QWidget, public TallyCalls {
  Q_OBJECT
 public:
  // The tally file lies in folder, named after the product key; failed saves go to failures.
  Ttallylist(Dialogs& dialogs, SaveFailures& failures, const std::filesystem::path& folder, QWidget* parent = nullptr);
  ~Ttallylist() override;  // FormDestroy: writes the tally file

  void addtomineincrease(int which) override;
  void checkscore(int score, const QString& name) override;
  void savetally() override;
  void loadtally();
  void button_resetClick();
  void button_doneClick();

  const TallyRecords& records() const { return records_; }
  std::filesystem::path tally_path() const { return path_; }

  TSelButton* button_reset = nullptr;
  TSelButton* button_done = nullptr;
  TLbBackground* LbBackground1 = nullptr;

 private:
  void FormCreate();
  void build_form();
  QLabel* rank_label(const char* column, int rank) const;
  void show_row_look(int rank);

  Dialogs& dialogs_;
  SaveFailures& failures_;
  std::filesystem::path path_;
  TallyRecords records_;
  bool writable_ = true;  // false while an unreadable tally file stays at its name
};

}  // namespace velnor
