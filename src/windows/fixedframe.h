#pragma once

class QWidget;

namespace velnor {

// Asks the window manager to draw no resize handle round the window and to offer no drag
// that resizes it: the window keeps whatever sizes the program gives it, and can still be
// moved, minimised and closed. Only X window managers are asked; elsewhere it does nothing.
void offer_no_frame_resizing(QWidget* window);

}  // namespace velnor
