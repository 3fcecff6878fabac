#pragma once

#include <QWidget>

#include <vector>

namespace velnor {

// The coach's chart: one bar for each of a game's ten rounds, as high as the
// round scored, and a line where best play lands on average.
class TCoachChart : public QWidget {
  Q_OBJECT

 public:
  explicit TCoachChart(QWidget* parent = nullptr);

  // The finished rounds' scores, round 1 first, and the best-play expectation.
  void set_scores(std::vector<int> scores, double expected);
  const std::vector<int>& scores() const { return scores_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<int> scores_;
  double expected_ = 0.0;
};

}  // namespace velnor
