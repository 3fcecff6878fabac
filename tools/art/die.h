#pragma once

#include <QPainter>
#include <QRectF>

// Draws an ivory die showing `pips` (1..6) that fills the square `rect`;
// nothing outside its rounded outline is touched. Scales to any size.
void draw_die(QPainter& painter, const QRectF& rect, int pips);

// A soft shadow for a die drawn at `rect`, cast down and to the right.
void draw_die_shadow(QPainter& painter, const QRectF& rect);
