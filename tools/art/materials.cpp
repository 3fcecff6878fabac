#include "materials.h"

#include "noise.h"

#include <QTransform>

#include <algorithm>
#include <cmath>
#include <numbers>

const WoodLook kWalnut{QColor(0x8A, 0x5C, 0x36), QColor(0x4A, 0x2C, 0x17), 9.0, 14.0, 0.35, 11};
const WoodLook kMahogany{QColor(0x7A, 0x3A, 0x22), QColor(0x3E, 0x17, 0x0C), 12.0, 8.0, 0.30, 23};
const WoodLook kMaple{QColor(0xF6, 0xE9, 0xCB), QColor(0xDD, 0xC4, 0x95), 7.0, 10.0, 0.25, 37};
const WoodLook kOak{QColor(0xC0, 0x8A, 0x50), QColor(0x7A, 0x4E, 0x26), 8.0, 18.0, 0.35, 41};

namespace {

QColor blend(const QColor& a, const QColor& b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                          static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                          static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t),
                          static_cast<float>(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

// Where device pixel `pixel` samples, in design pixels: a design pixel samples at its own
// position, and each of its parts at the centre of that part.
double design_position(int pixel, int scale) { return (pixel + 0.5) / scale - 0.5; }

}  // namespace

QImage canvas(QSize size, QImage::Format format, int scale) {
  QImage image(size * scale, format);
  image.setDevicePixelRatio(scale);
  return image;
}

int texel_scale(const QPainter& painter) { return static_cast<int>(painter.device()->devicePixelRatio()); }

QImage wood_texture(QSize size, const WoodLook& look, int scale) {
  QImage image = canvas(size, QImage::Format_RGB32, scale);
  const Noise warp(look.seed);
  const Noise fibres(look.seed * 7 + 1);
  const Noise broad(look.seed * 13 + 5);
  const double ring_frequency = look.rings_per_100px / 100.0;
  for (int row = 0; row < image.height(); ++row) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
    const double y = design_position(row, scale);
    for (int column = 0; column < image.width(); ++column) {
      const double x = design_position(column, scale);
      // Rings: stripes across y, bent by slow noise that is stretched along the grain.
      const double bend = (warp.fbm(x / 160.0, y / 45.0, 4) - 0.5) * 2.0 * look.waviness;
      const double phase = (y + bend) * ring_frequency;
      double ring = 0.5 + 0.5 * std::sin(2.0 * std::numbers::pi * phase);
      ring = std::pow(ring, 3.0);  // narrow dark late-wood lines, broad light early wood
      // Fibres: very long along x, very thin across.
      const double fibre = fibres.fbm(x / 60.0, y / 1.6, 3);
      const double patch = broad.fbm(x / 90.0, y / 60.0, 3);
      double t = 0.15 + 0.45 * ring + look.fibre * (fibre - 0.5) * 1.6 + 0.35 * (patch - 0.5);
      line[column] = blend(look.light, look.dark, t).rgb();
    }
  }
  return image;
}

QImage wood_texture_vertical(QSize size, const WoodLook& look, int scale) {
  QImage image = wood_texture(size.transposed(), look, scale).transformed(QTransform().rotate(90));
  image.setDevicePixelRatio(scale);
  return image;
}

QImage felt_texture(QSize size, QColor base, uint32_t seed, int scale) {
  QImage image = canvas(size, QImage::Format_RGB32, scale);
  const Noise grain(seed);
  const Noise mottle(seed * 3 + 2);
  for (int row = 0; row < image.height(); ++row) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
    const double y = design_position(row, scale);
    for (int column = 0; column < image.width(); ++column) {
      const double x = design_position(column, scale);
      // The fibres are finer than a pixel at any scale: one speck to each device pixel.
      const double speck = grain.lattice(column, row) - 0.5;
      const double tuft = grain.at(x / 2.5, y / 2.5) - 0.5;          // small tufts
      const double cloud = mottle.fbm(x / 70.0, y / 70.0, 3) - 0.5;  // soft light changes
      const double gain = 1.0 + 0.07 * speck + 0.08 * tuft + 0.10 * cloud;
      line[column] = qRgb(std::clamp(static_cast<int>(base.red() * gain), 0, 255),
                          std::clamp(static_cast<int>(base.green() * gain), 0, 255),
                          std::clamp(static_cast<int>(base.blue() * gain), 0, 255));
    }
  }
  return image;
}
