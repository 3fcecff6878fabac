#pragma once

#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QString>

#include <vector>

namespace velnor {

// A picture control that can act as a button: a click is a left press and
// release over it. One that answers clicks is a button for the keyboard too: Tab
// reaches it, the focus ring marks it, and Space or Enter presses it.
class TImage : public QLabel {
  Q_OBJECT
 public:
  explicit TImage(QWidget* parent = nullptr);
  void setTag(int tag) { tag_ = tag; }
  int tag() const { return tag_; }
  // Whether something answers its clicks.
  bool clickable() const;
  // Does what a click does: the keys and a screen reader press the picture with it.
  void activate();

 signals:
  void click(velnor::TImage* sender);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void connectNotify(const QMetaMethod& signal) override;

 private:
  int tag_ = 0;
  bool pressed_ = false;
};

// A picture of the program's resources for a screen of `ratio` device pixels to a design
// pixel. Above 1 it is the drawing at twice the size ("name@2x.png" beside "name.png") with a
// device pixel ratio of 2, so that it still lays out at its design size; at 1, or when there is
// no such drawing, the design-size one. PNG and JPEG files go through our own decoders.
QPixmap resource_picture(const QString& path, qreal ratio);
// The same for the application's ratio: the highest of its screens.
QPixmap resource_picture(const QString& path);
// Starts decoding these resource pictures, at their design size, on a helper thread;
// resource_picture then takes each from there, once, instead of decoding it again. Needs no
// application object: called before it, the decoding overlaps the connection to the display.
void decode_pictures_ahead(std::vector<QString> paths);
// Waits for the decoding ahead to end. Called before the program leaves main: the decoding reads
// the program's resources, and must be done before Qt's globals go.
void finish_pictures_ahead();

// A window icon from a resource picture, at the sizes a desktop asks for up to the picture's own;
// the twice-size drawing only on a screen of that ratio or more, since decoding it costs.
QIcon resource_icon(const QString& path, qreal ratio);

// The part `rect` of a picture, in design pixels; it keeps the picture's ratio.
QPixmap picture_part(const QPixmap& picture, const QRect& rect);

}  // namespace velnor
