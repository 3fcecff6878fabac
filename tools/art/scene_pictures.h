#pragma once

#include <QImage>

// Pictures that show the game as a whole: the panels, the about and multiplayer windows, the icon.
// Sizes are in design pixels; `scale` device pixels make one design pixel.

QImage game_over_picture(int scale);    // 97 x 104, on the window's brown
QImage about_picture(int scale);        // 97 x 104, a corner of the board
QImage multiplayer_picture(int scale);  // 400 x 300, four boards round a table
QImage window_icon(int scale);          // 256 x 256, transparent outside the rounded square
// The window icon drawn for the desktop at `pixels` x `pixels` device pixels; below 48, with one
// die instead of two.
QImage desktop_icon(int pixels);
