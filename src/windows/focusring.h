#pragma once

class QPainter;
class QWidget;

namespace velnor {

// The keyboard's mark on a control that has the focus: a ring just inside its bounds, dark
// outside and bright inside, so that it shows on the felt, the wood of the tiles and the buttons'
// faces alike. As on the desktops, it shows once the player has moved the focus with the keyboard
// in that window; a window that merely comes up with a control focused shows none.
void draw_focus_ring(QPainter& painter, const QWidget& control);

}  // namespace velnor
