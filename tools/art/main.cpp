// Draws every picture of the game into one folder, each at its design size and again at
// twice that for high-density screens, beside it with "@2x" before the extension.
// The desktop's icons, at the sizes of the hicolor theme, go to icons/velnorsolo-SIZE.png. Its
// output is committed under assets/; run it again after changing a picture:
//   velnor-art OUTDIR

#include "board_pictures.h"
#include "scene_pictures.h"

#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QString>

#include <cstdio>
#include <functional>
#include <vector>

namespace {

struct Picture {
  QString name;
  std::function<QImage(int scale)> draw;
};

// The scales drawn; a file name carries its scale unless it is 1.
constexpr int kScales[] = {1, 2};
// The desktop icon's sizes: those that desktops and software centres look for.
constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256, 512};

QString file_name(const QString& name, int scale) {
  if (scale == 1) return name;
  const qsizetype dot = name.lastIndexOf('.');
  return name.left(dot) + QString("@%1x").arg(scale) + name.mid(dot);
}

std::vector<Picture> pictures() {
  std::vector<Picture> list;
  for (int number = 1; number <= 9; ++number)
    list.push_back(
        {QString("tiles/tile%1.png").arg(number), [number](int scale) { return tile_strip(number, scale); }});
  list.push_back({"dice.png", dice_strip});
  list.push_back({"backdrop_tiles.jpg", tiles_backdrop});
  list.push_back({"backdrop_dice.jpg", dice_backdrop});
  list.push_back({"rounds.png", round_column});
  list.push_back({"roll.png", roll_button});
  list.push_back({"logo.png", logo});
  list.push_back({"gameover.png", game_over_picture});
  list.push_back({"about.png", about_picture});
  list.push_back({"multiplayer.png", multiplayer_picture});
  list.push_back({"icon.png", window_icon});
  return list;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: velnor-art OUTDIR\n");
    return 2;
  }
  // No display is needed: draw off screen whatever the environment says.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  // A substitute font would silently change the lettering; refuse instead.
  for (const char* family : {"Liberation Sans", "Liberation Serif"}) {
    if (!QFontDatabase::hasFamily(family)) {
      std::fprintf(stderr, "velnor-art: font %s is missing (Debian package fonts-liberation)\n", family);
      return 1;
    }
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  for (const char* folder : {"tiles", "icons"}) {
    if (!out.mkpath(folder)) {
      std::fprintf(stderr, "velnor-art: cannot create %s\n", qPrintable(out.filePath(folder)));
      return 1;
    }
  }
  for (const Picture& picture : pictures()) {
    for (const int scale : kScales) {
      const QString path = out.filePath(file_name(picture.name, scale));
      // A fixed quality, so the JPEG bytes are the same on every run.
      const int quality = picture.name.endsWith(".jpg") ? 92 : -1;
      if (!picture.draw(scale).save(path, nullptr, quality)) {
        std::fprintf(stderr, "velnor-art: cannot write %s\n", qPrintable(path));
        return 1;
      }
    }
  }
  for (const int pixels : kIconSizes) {
    const QString path = out.filePath(QString("icons/velnorsolo-%1.png").arg(pixels));
    if (!desktop_icon(pixels).save(path)) {
      std::fprintf(stderr, "velnor-art: cannot write %s\n", qPrintable(path));
      return 1;
    }
  }
  return 0;
}
