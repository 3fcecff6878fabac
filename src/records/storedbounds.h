#pragma once

#include <QRect>

#include "records/gamesettings.h"

class QWidget;

namespace velnor {

// The bounds a window's settings keep, as the window takes them up and gives them back.

// Where the window goes: the kept bounds within reach, no smaller than the window allows, fitted
// to the work area.
QRect placed_bounds(const QWidget* window, const WindowBounds& kept);
// The bounds to keep: the window's outer frame, less what the platform cannot tell (under Wayland
// a window cannot learn where it is, so the kept place stays as it was, for a session under X11)
// and less its forced sides.
WindowBounds stored_bounds(const QWidget* window, const WindowBounds& kept);
// The bounds less what the game or the window manager made of the kept ones to fit this screen,
// which is not the player's: a side still where the game put it, squeezed below what the window
// allows, or on a screen the window cannot fit (scaled past the board's size) keeps what was
// kept, so the next start on a roomier screen is the player's own again.
WindowBounds without_forced_sides(const QWidget* window, WindowBounds bounds, const WindowBounds& kept);
QRect bounds_rect(const WindowBounds& bounds);

}  // namespace velnor
