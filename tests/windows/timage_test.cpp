// The program's pictures come through its own decoders, at start partly on a helper thread:
// whichever way, every one must look exactly as Qt's own reader shows it.
#include "windows/timage.h"

#include <QDirIterator>
#include <QImageReader>

#include <gtest/gtest.h>

namespace velnor {
namespace {

QStringList all_pictures() {
  QStringList paths;
  for (QDirIterator it(":/images", QDirIterator::Subdirectories); it.hasNext();) paths << it.next();
  return paths;
}

// Qt's own reading of the file, turned into a pixmap as ours is, so that only the decoders differ.
QImage as_qt_reads_it(const QString& path) { return QPixmap::fromImage(QImageReader(path).read()).toImage(); }

void expect_same_pixels(const QImage& ours, const QImage& qts) {
  ASSERT_EQ(ours.size(), qts.size());
  ASSERT_EQ(ours.format(), qts.format());
  for (int y = 0; y < ours.height(); ++y)
    for (int x = 0; x < ours.width(); ++x) ASSERT_EQ(ours.pixel(x, y), qts.pixel(x, y)) << "at " << x << "," << y;
}

TEST(ResourcePictures, LookAsQtReadsThem) {
  const QStringList paths = all_pictures();
  ASSERT_GT(paths.size(), 20);  // the design-size drawings and the sharp ones
  for (const QString& path : paths) {
    SCOPED_TRACE(path.toStdString());
    expect_same_pixels(resource_picture(path, 1).toImage(), as_qt_reads_it(path));
  }
}

TEST(ResourcePictures, DecodedAheadLookTheSameAndAreDecodedAgainWhenAskedAgain) {
  const QString tile = ":/images/tiles/tile3.png", felt = ":/images/backdrop_dice.jpg";
  decode_pictures_ahead({tile, felt, ":/images/no-such-picture.png"});
  for (int asked = 0; asked < 2; ++asked) {
    expect_same_pixels(resource_picture(tile, 1).toImage(), as_qt_reads_it(tile));
    expect_same_pixels(resource_picture(felt, 1).toImage(), as_qt_reads_it(felt));
    EXPECT_TRUE(resource_picture(":/images/no-such-picture.png", 1).isNull());
  }
}

}  // namespace
}  // namespace velnor
