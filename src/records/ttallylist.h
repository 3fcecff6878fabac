#pragma once

#include <QWidget>

#include "game/tallycalls.h"

namespace velnor {

// The tally list window. For now it keeps its counters in memory only.
class Ttallylist : public QWidget, public TallyCalls {
  Q_OBJECT
 public:
  explicit Ttallylist(QWidget* parent = nullptr);
  void addtomineincrease(int which) override;
  void checkscore(int score, const QString& name) override;
  int games() const { return games_; }
  int allshut() const { return allshut_; }

 private:
  int games_ = 0;
  int allshut_ = 0;
};

}  // namespace velnor
