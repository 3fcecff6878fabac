#pragma once

#include <QColor>
#include <QPainter>
#include <QRectF>

// The dark recess the tiles stand in; tile corners show it, so the backdrop uses it too.
inline const QColor kTrayColour{0x2A, 0x18, 0x0C};

// Draws tile `number` filling `rect`, with its cover slid down over the top
// `covered` part of it (0 = open, 1 = shut). Scales to any size.
void draw_tile(QPainter& painter, const QRectF& rect, int number, double covered);
