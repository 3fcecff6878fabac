#pragma once

#include <QLabel>

namespace velnor {

// A picture control that can act as a button: a click is a left press and
// release over it.
class TImage : public QLabel {
  Q_OBJECT
 public:
  explicit TImage(QWidget* parent = nullptr);
  void setTag(int tag) { tag_ = tag; }
  int tag() const { return tag_; }

 signals:
  void click(velnor::TImage* sender);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  int tag_ = 0;
  bool pressed_ = false;
};

// A picture of the program's resources; JPEG files go through our own decoder.
QPixmap resource_picture(const QString& path);

}  // namespace velnor
