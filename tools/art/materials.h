#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QSize>

#include <cstdint>

// How a piece of wood looks; its grain runs along x.
struct WoodLook {
  QColor light;
  QColor dark;
  double rings_per_100px;  // growth rings across the grain
  double waviness;         // how far the rings wander, in pixels
  double fibre;            // weight of the fine fibres, 0..1
  uint32_t seed;
};

// Board and frames: a warm, fairly dark walnut.
extern const WoodLook kWalnut;
// The covers that shut a tile: a deep red-brown.
extern const WoodLook kMahogany;
// Tile faces: pale maple, close to ivory.
extern const WoodLook kMaple;
// Table tops in the scenes: honey oak.
extern const WoodLook kOak;

// A blank picture of `size` design pixels with `scale` x `scale` device pixels to each of them.
// A painter on it works in design pixels, so one drawing serves every scale.
QImage canvas(QSize size, QImage::Format format, int scale);

// Device pixels to a design pixel on the painter's device: textures are made at this
// density, so that a painter draws them one texel to a pixel instead of enlarging them.
int texel_scale(const QPainter& painter);

// The textures cover `size` design pixels at `scale` device pixels to each; at scale 1 every
// pixel samples the grain at its own position, at higher scales at the centre of its part
// of a design pixel, so the same grain comes out finer.
QImage wood_texture(QSize size, const WoodLook& look, int scale);
// The same wood with its grain running down instead of across.
QImage wood_texture_vertical(QSize size, const WoodLook& look, int scale);
// Billiard-cloth green (or any base colour) with fine fibres and soft mottling.
QImage felt_texture(QSize size, QColor base, uint32_t seed, int scale);
