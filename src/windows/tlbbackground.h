#pragma once

#include <QImage>
#include <QObject>
#include <QPixmap>
#include <QWidget>

namespace velnor {

// Tiles a picture over its owner window's surface each time the window paints,
// before the window's own painting, which then goes on as before.
class TLbBackground : public QObject {
  Q_OBJECT

 public:
  // The owner also owns the component. Destroying the component unhooks it.
  explicit TLbBackground(QWidget* owner);

  void setEnabled(bool enabled);
  bool enabled() const { return enabled_; }
  void setImage(const QImage& image);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void tile();

  QWidget* const owner_;
  bool enabled_ = false;
  QPixmap image_;
};

}  // namespace velnor
