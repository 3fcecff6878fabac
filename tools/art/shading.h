#pragma once

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>

// Light comes from the upper left in every picture; these helpers keep it consistent.

// Shadow along the inside of the top and left edges of `area`, as if it were sunk `depth` pixels.
void inner_shadow(QPainter& painter, const QPainterPath& area, double depth, int alpha);

// Soft shadow of `shape` cast down and to the right.
void drop_shadow(QPainter& painter, const QPainterPath& shape, double offset, double softness, int alpha);

// A raised rim of `width` pixels just inside `rect`: light top and left, dark bottom and right.
void raised_rim(QPainter& painter, const QRectF& rect, double width, int light_alpha, int dark_alpha);

// A line one design pixel wide along the inside of `rect`'s edge. Filled rather than stroked:
// an aliased pen sits half a device pixel off when the painter is scaled.
void pixel_frame(QPainter& painter, const QRect& rect, const QColor& colour);

// Text pressed into a surface: a light lip below and right, then the darker text itself.
void pressed_text(QPainter& painter, const QPainterPath& text, const QColor& colour, const QColor& lip);
