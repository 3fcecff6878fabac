#pragma once

#include <QColor>

// The game's own colours, so the pictures sit well with the windows around them.
inline const QColor kWindowBrown{0x6F, 0x58, 0x40};
inline const QColor kPaleYellow{0xFF, 0xFF, 0xC6};
inline const QColor kFrameGreen{0x00, 0x59, 0x00};

// Ink of the tile numbers and the dice pips.
inline const QColor kInk{0x24, 0x16, 0x0C};
