#include "htmlview.h"

#include "tfont.h"

#include <QAccessible>
#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QPalette>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace velnor {

namespace {

const QColor kBackground(255, 255, 232);
const QColor kLinkColor(128, 0, 0);             // maroon
const QColor kVisitedLinkColor(192, 192, 192);  // silver

// An inline image: "data:image/png;base64,..." (or jpeg or gif); null otherwise,
// and null when it would take more than `pixels_left` pixels, which it then uses up.
// One larger than `box` is made to fit it: a document some millions of pixels
// tall never finishes its layout.
QImage inline_image(const QUrl& name, qint64& pixels_left, const QSize& box) {
  if (name.scheme().compare(QLatin1String("data"), Qt::CaseInsensitive) != 0) return {};
  const QByteArray text = QByteArray::fromPercentEncoding(name.path(QUrl::FullyEncoded).toLatin1());
  const qsizetype comma = text.indexOf(',');
  if (comma < 0) return {};
  const QByteArray header = text.left(comma).toLower();
  const char* format = nullptr;
  if (header == "image/png;base64")
    format = "PNG";
  else if (header == "image/jpeg;base64" || header == "image/jpg;base64")
    format = "JPEG";
  else if (header == "image/gif;base64")
    format = "GIF";
  if (!format) return {};
  auto decoded = QByteArray::fromBase64Encoding(text.mid(comma + 1), QByteArray::AbortOnBase64DecodingErrors);
  if (!decoded) return {};
  QBuffer buffer(&*decoded);
  QImageReader reader(&buffer, format);
  const QSize size = reader.size();
  const qint64 pixels = qint64(size.width()) * size.height();
  if (!size.isValid() || pixels > pixels_left) return {};
  pixels_left -= pixels;
  if (size.width() > box.width() || size.height() > box.height())
    reader.setScaledSize(size.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
  return reader.read();
}

// What a page gets for every other image: one transparent pixel. It must not be
// empty, or the document would read the named file from the disk itself.
QImage blank_image() {
  QImage blank(1, 1, QImage::Format_ARGB32);
  blank.fill(Qt::transparent);
  return blank;
}

}  // namespace

HtmlView::HtmlView(QWidget* parent) : QTextBrowser(parent) {
  setOpenLinks(false);
  setOpenExternalLinks(false);
  setTextInteractionFlags(Qt::TextBrowserInteraction);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

  QPalette colours = palette();
  colours.setColor(QPalette::Base, kBackground);
  colours.setColor(QPalette::Text, Qt::black);
  colours.setColor(QPalette::Link, kLinkColor);
  colours.setColor(QPalette::LinkVisited, kVisitedLinkColor);
  setPalette(colours);

  document()->setDefaultFont(tfont(kSerifFont, 12));
  // The palette's link colour does not reach the page; the style sheet does.
  document()->setDefaultStyleSheet(
      QStringLiteral("pre { font-family: \"Arial\"; } a { color: %1; }").arg(kLinkColor.name()));

  connect(this, &QTextBrowser::anchorClicked, this, &HtmlView::link_clicked);
}

void HtmlView::load_html(const QString& html) {
  document()->setBaseUrl(QUrl());
  document()->setMetaInformation(QTextDocument::DocumentUrl, QString());
  pixels_left_ = kMaxPagePixels;
  setHtml(html);
  clearHistory();
  mark_visited();
  ++pages_loaded_;
  // The parts a screen reader had of the old page are gone.
  QAccessibleEvent changed(this, QAccessible::ObjectReorder);
  QAccessible::updateAccessibility(&changed);
}

QVariant HtmlView::loadResource(int type, const QUrl& name) {
  if (type == QTextDocument::ImageResource) {
    const QImage image = inline_image(name, pixels_left_, size());
    return image.isNull() ? blank_image() : image;
  }
  // Style sheets and the like are never fetched; an empty text, not an empty
  // value, so that the document does not look for them on the disk.
  return QString();
}

void HtmlView::link_clicked(const QUrl& link) {
  const QString address = link.toString();
  bool handled = false;
  emit hotSpotClick(this, address, handled);
  visited_.insert(address);
  mark_visited();
}

void HtmlView::mark_visited() {
  if (visited_.isEmpty()) return;
  // Collect first: recolouring splits and merges the fragments being walked.
  QList<QPair<int, int>> spans;
  for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      const QTextCharFormat format = fragment.charFormat();
      if (format.isAnchor() && visited_.contains(QUrl(format.anchorHref()).toString()))
        spans.append({fragment.position(), fragment.length()});
    }
  }
  QTextCharFormat visited;
  visited.setForeground(kVisitedLinkColor);
  for (const auto& [position, length] : spans) {
    QTextCursor cursor(document());
    cursor.setPosition(position);
    cursor.setPosition(position + length, QTextCursor::KeepAnchor);
    cursor.mergeCharFormat(visited);
  }
}

}  // namespace velnor
