#include "windows/htmlview.h"

#include <QAccessible>
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "windows/htmlviewaccessible.h"

using velnor::HtmlView;

namespace {

// Records every resource the page asks for, and what it got.
class RecordingView : public HtmlView {
 public:
  struct Request {
    int type;
    QUrl name;
    QVariant given;
  };
  std::vector<Request> requests;

 protected:
  QVariant loadResource(int type, const QUrl& name) override {
    QVariant given = HtmlView::loadResource(type, name);
    requests.push_back({type, name, given});
    return given;
  }
};

QImage rendered(HtmlView& view) { return view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32); }

int count_of(const QImage& image, QColor color) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == color.rgb() ? 1 : 0;
  return n;
}

QByteArray png_of(QColor color, int size = 16) {
  QImage image(size, size, QImage::Format_RGB32);
  image.fill(color);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

void show(HtmlView& view, const QString& html) {
  view.resize(481, 507);
  view.load_html(html);
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
}

const QColor kGreen(0, 192, 0);
const QColor kRed(255, 0, 0);
const QColor kMaroon(128, 0, 0);
const QColor kSilver(192, 192, 192);

TEST(HtmlView, RendersATableOnThePaleYellowPage) {
  HtmlView view;
  show(view,
       "<html><body><h1>High Scores</h1>"
       "<table border=\"1\" cellpadding=\"8\"><tr><td bgcolor=\"#00c000\">1. Ann</td><td>312</td></tr>"
       "<tr><td>2. Bob</td><td>250</td></tr></table></body></html>");
  const QImage shot = rendered(view);
  EXPECT_GT(count_of(shot, kGreen), 400);
  EXPECT_EQ(shot.pixelColor(shot.width() - 2, shot.height() - 2), QColor(255, 255, 232));
  EXPECT_GT(count_of(shot, Qt::black), 20);
  EXPECT_EQ(view.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  EXPECT_EQ(view.document()->defaultFont().family(), "Times New Roman");
  EXPECT_EQ(QFontInfo(view.document()->defaultFont()).family(), "Liberation Serif");

  // A long page scrolls down, never sideways.
  view.load_html("<p>" + QString("wide ").repeated(400) + "</p>" + QString("<p>line</p>").repeated(100));
  EXPECT_GT(view.verticalScrollBar()->maximum(), 0);
  EXPECT_FALSE(view.horizontalScrollBar()->isVisible());
}

TEST(HtmlView, AClickOnALinkReportsItsAddressAndStaysOnThePage) {
  HtmlView view;
  show(view,
       "<p>Back to <a href=\"http://127.0.0.1/velnorsolo/index.html?from=scores\">the game page</a></p>"
       "<p><a href=\"rules.html#dice\">rules</a></p>");
  std::vector<QString> clicked;
  QObject::connect(&view, &HtmlView::hotSpotClick, [&](HtmlView* sender, const QString& url, bool& handled) {
    EXPECT_EQ(sender, &view);
    EXPECT_FALSE(handled);
    clicked.push_back(url);
  });
  EXPECT_GT(count_of(rendered(view), kMaroon), 10);

  for (const QString& text : {QString("the game page"), QString("rules")}) {
    QTextCursor at = view.document()->find(text);
    ASSERT_FALSE(at.isNull());
    at.setPosition(at.selectionStart() + 2);
    const QPoint point = view.cursorRect(at).center() + QPoint(2, 0);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, point);
  }
  EXPECT_EQ(clicked, (std::vector<QString>{"http://127.0.0.1/velnorsolo/index.html?from=scores", "rules.html#dice"}));
  EXPECT_TRUE(view.document()->toPlainText().startsWith("Back to the game page"));
  EXPECT_TRUE(view.source().isEmpty());

  // Both links are visited now and drawn in silver.
  const QImage after = rendered(view);
  EXPECT_EQ(count_of(after, kMaroon), 0);
  EXPECT_GT(count_of(after, kSilver), 10);
}

TEST(HtmlView, ShowsInlineImagesAndFetchesNothingElse) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString red_png = dir.filePath("red.png");
  {
    QFile file(red_png);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(png_of(kRed));
  }
  const QString red_css = dir.filePath("red.css");
  {
    QFile file(red_css);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("body { background-color: #ff0000; } p { color: #ff0000; }");
  }
  const QString qrc_image = ":/qt-project.org/styles/commonstyle/images/stop-32.png";
  ASSERT_TRUE(QFile::exists(qrc_image));

  const QString elsewhere[] = {"http://127.0.0.1:9/remote.png",
                               "file:///etc/hostname",
                               red_png,
                               "file://" + red_png,
                               qrc_image,
                               "qrc" + qrc_image,
                               "red.png"};
  RecordingView view;
  QString page =
      "<html><head><link rel=\"stylesheet\" type=\"text/css\" href=\"" + red_css + "\"></head><body><p>Pictures</p>";
  for (const QString& source : elsewhere) page += "<img width=\"40\" height=\"40\" src=\"" + source + "\">";
  page += "<img width=\"40\" height=\"40\" src=\"data:image/png;base64," + png_of(kGreen).toBase64() + "\">";
  page += "</body></html>";
  show(view, page);

  const QImage shot = rendered(view);
  EXPECT_EQ(count_of(shot, kRed), 0);
  EXPECT_GT(count_of(shot, kGreen), 1000);
  // The style sheet and every image were asked for (":/" and "qrc:/" are one name).
  EXPECT_EQ(view.requests.size(), std::size(elsewhere) + 1);
  int inline_images = 0;
  for (const auto& request : view.requests) {
    if (request.name.scheme() == "data") {
      ++inline_images;
      continue;
    }
    // Nothing of the source: an empty text, or an image with no visible pixel.
    const QImage image = request.given.value<QImage>();
    const bool nothing = request.given.typeId() == QMetaType::QImage
                             ? image.width() * image.height() == 1 && qAlpha(image.pixel(0, 0)) == 0
                             : request.given.toByteArray().isEmpty();
    EXPECT_TRUE(nothing) << request.name.toString().toStdString();
  }
  EXPECT_EQ(inline_images, 1);

  // An image of the program's own resources looks just like one that is missing.
  view.load_html("<img width=\"40\" height=\"40\" src=\"" + qrc_image + "\">");
  const QImage qrc_shot = rendered(view);
  view.load_html("<img width=\"40\" height=\"40\" src=\"missing-image.png\">");
  EXPECT_EQ(qrc_shot, rendered(view));
}

// A few kilobytes of picture each, but a page's images decode to a bounded number of pixels in
// all: beyond it they are blank, and the next page has the whole budget again. Each comes no
// larger than the view: a strip of a picture some thousands of pixels tall, many times over, made
// a document whose layout never ended.
TEST(HtmlView, InlineImagesOfAPageDecodeToABoundedSizeWithinTheView) {
  const int side = 2500;  // 6.25 million pixels, three of them beyond the budget
  ASSERT_LT(2LL * side * side, HtmlView::kMaxPagePixels);
  ASSERT_GT(3LL * side * side, HtmlView::kMaxPagePixels);
  QString page;
  for (const QColor& color : {kGreen, kRed, kMaroon})
    page += "<img width=\"40\" height=\"40\" src=\"data:image/png;base64," + png_of(color, side).toBase64() + "\">";
  QImage strip(1, 20000, QImage::Format_RGB32);
  strip.fill(kGreen);
  QByteArray strip_png;
  QBuffer buffer(&strip_png);
  ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && strip.save(&buffer, "PNG"));
  page += "<img src=\"data:image/png;base64," + strip_png.toBase64() + "\">";
  RecordingView view;
  view.resize(479, 505);
  const QSize fitted(479, 479), strip_fitted(1, 505);
  const auto sizes = [&] {
    std::vector<QSize> out;
    for (const auto& request : view.requests) out.push_back(request.given.value<QImage>().size());
    view.requests.clear();
    return out;
  };
  for (int load = 0; load < 2; ++load) {
    view.load_html(page);
    view.grab();
    EXPECT_EQ(sizes(), (std::vector<QSize>{fitted, fitted, {1, 1}, strip_fitted})) << "load " << load;
  }
}

}  // namespace

// A screen reader reads the page's table as a table under its headings, and a new page afresh:
// nothing of the old page's cells is left for it to read, and the view ends with its parts.
TEST(HtmlView, AScreenReaderReadsTheTableOfEachPageLoaded) {
  QAccessible::installFactory(velnor::html_view_accessible);
  auto view = std::make_unique<HtmlView>();
  const auto table_of = [&]() -> QAccessibleTableInterface* {
    QAccessibleInterface* page = QAccessible::queryAccessibleInterface(view.get());
    for (int index = 0; index < page->childCount(); ++index)
      if (QAccessibleInterface* part = page->child(index); part->tableInterface() != nullptr)
        return part->tableInterface();
    return nullptr;
  };
  view->load_html("<p>Best</p><table><tr><th>Rank</th><th>Name</th></tr><tr><td>1.</td><td>Ann</td></tr></table>");
  QAccessibleTableInterface* table = table_of();
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(table->rowCount(), 2);
  QAccessibleTableCellInterface* ann = table->cellAt(1, 1)->tableCellInterface();
  EXPECT_EQ(table->cellAt(1, 1)->text(QAccessible::Name), "Ann");
  EXPECT_EQ(ann->columnHeaderCells().value(0)->text(QAccessible::Name), "Name");
  EXPECT_EQ(ann->rowHeaderCells().value(0)->text(QAccessible::Name), "1.");

  view->load_html(
      "<table><tr><th>Rank</th><th>Name</th></tr><tr><td>1.</td><td>Bo</td></tr>"
      "<tr><td>2.</td><td>Cy</td></tr></table>");
  table = table_of();
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(table->rowCount(), 3);
  EXPECT_EQ(table->cellAt(2, 1)->text(QAccessible::Name), "Cy");
  view.reset();
}
