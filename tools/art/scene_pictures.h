#pragma once

#include <QImage>

// Pictures that show the game as a whole: the panels, the about and multiplayer windows, the icon.

QImage game_over_picture();  // 97 x 104, on the window's brown
QImage about_picture();      // 97 x 104, a corner of the board
QImage multiplayer_picture(); // 400 x 300, four boards round a table
QImage window_icon();        // 256 x 256, transparent outside the rounded square
