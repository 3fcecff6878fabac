#pragma once

#include <QImage>

// The pictures of the main window's board, at the sizes the window places them, in design
// pixels; `scale` device pixels make one design pixel (1, or 2 for high-density screens).

QImage tile_strip(int number, int scale);  // 240 x 91, five 48 x 91 frames, open to shut
QImage dice_strip(int scale);              // 224 x 32, black then the faces 1..6
QImage tiles_backdrop(int scale);          // 503 x 120, the wood behind the tiles and the score lines
QImage dice_backdrop(int scale);           // 505 x 121, the felt of the dice panel
QImage round_column(int scale);            // 123 x 241, the round-score column
QImage roll_button(int scale);             // 102 x 27
QImage logo(int scale);                    // 185 x 32, transparent around the lettering
