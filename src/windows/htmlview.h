#pragma once

#include <QSet>
#include <QString>
#include <QTextBrowser>
#include <QUrl>
#include <QVariant>

namespace velnor {

// Shows an HTML page given as text and reports clicks on its links. It never
// goes anywhere by itself and never fetches anything: of the images a page
// names, only those carried inline as data: addresses are shown, no larger than
// the view. Sizes a page states are its own: measure pages from outside first.
class HtmlView : public QTextBrowser {
  Q_OBJECT

 public:
  // What the inline images of one page may decode to, all together: a few
  // kilobytes of picture can claim a hundred megabytes. Images beyond are blank.
  static constexpr qint64 kMaxPagePixels = 16 * 1024 * 1024;

  explicit HtmlView(QWidget* parent = nullptr);

  // Replaces the content with the page; it has no name and no base, so its
  // relative addresses stay as they are written.
  void load_html(const QString& html);
  // How many pages have been loaded: a screen reader's view reads the page afresh when it changes.
  int pages_loaded() const { return pages_loaded_; }

 signals:
  // A link was clicked; `url` is its address. `handled` comes as false.
  void hotSpotClick(velnor::HtmlView* sender, const QString& url, bool& handled);

 protected:
  QVariant loadResource(int type, const QUrl& name) override;

 private:
  void link_clicked(const QUrl& link);
  // Gives links already clicked the visited colour.
  void mark_visited();

  QSet<QString> visited_;
  qint64 pixels_left_ = kMaxPagePixels;
  int pages_loaded_ = 0;
};

}  // namespace velnor
