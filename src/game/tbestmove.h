#pragma once

#include <QRect>
#include <QWidget>

#include <vector>

namespace velnor {

// The coach's hint on the board: a mark drawn over the faces of the tiles that best play would
// shut with the roll. It lies over the tiles and lets every click through to them; it is drawn
// as lines, not a picture, so it stays sharp on any screen.
class TBestMoveMarks : public QWidget {
  Q_OBJECT
 public:
  explicit TBestMoveMarks(QWidget* parent);

  // Marks the tiles at these places (in the parent's coordinates); none hides the marks.
  void mark(const std::vector<QRect>& tiles);
  bool marking() const { return !tiles_.empty(); }
  // The marked places, in the parent's coordinates.
  std::vector<QRect> marked() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<QRect> tiles_;  // in this widget's coordinates
};

}  // namespace velnor
