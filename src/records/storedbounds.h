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
// and less its forced sides: what the game or the window manager made of the kept bounds to fit
// this screen is not the player's.
WindowBounds stored_bounds(const QWidget* window, const WindowBounds& kept);
// The same as the window closes, where a side wider than the work area gives up a few pixels.
WindowBounds bounds_kept_at_close(const QWidget* window, const WindowBounds& kept);
QRect bounds_rect(const WindowBounds& bounds);

}  // namespace velnor
