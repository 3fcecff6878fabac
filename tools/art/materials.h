#pragma once

#include <QColor>
#include <QImage>
#include <QSize>

#include <cstdint>

// How a piece of wood looks; its grain runs along x.
struct WoodLook {
    QColor light;
    QColor dark;
    double rings_per_100px; // growth rings across the grain
    double waviness;        // how far the rings wander, in pixels
    double fibre;           // weight of the fine fibres, 0..1
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

QImage wood_texture(QSize size, const WoodLook& look);
// The same wood with its grain running down instead of across.
QImage wood_texture_vertical(QSize size, const WoodLook& look);
// Billiard-cloth green (or any base colour) with fine fibres and soft mottling.
QImage felt_texture(QSize size, QColor base, uint32_t seed);
