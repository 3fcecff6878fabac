#pragma once

#include <QRect>

#include <functional>

class QWidget;

namespace velnor {

// A window's place is its outer frame, title bar included. The window manager
// adds the frame only once the window is on the screen, so until then its size
// is unknown and the outer bounds are the window's own.
QRect outer_bounds(const QWidget* window);
// Moves and sizes a window so that its frame covers outer, as far as its
// minimum size allows.
void set_outer_bounds(QWidget* window, const QRect& outer);

// An outer rectangle made to fit a work area: no larger than it and wholly
// inside it, so that the title bar can always be reached.
QRect fit_into(QRect outer, const QRect& work);
// The work area of the screen that holds most of outer (the primary screen's
// when none does).
QRect work_area_for(const QRect& outer);

enum class PlaceAt { first_show, every_show };

// Places a window by a rule that gives its outer bounds: as it shows, and again
// as soon as it is framed (its first exposure after the show), since only then
// does the rule see the frame's real size.
void keep_placed(QWidget* window, PlaceAt when, std::function<QRect()> rule);

// A window's bounds centred on another's, wholly inside the other's work area.
QRect centred_on(const QWidget* window, const QWidget* owner);
// A window's bounds beside another's, their tops level: to its right where the work area has room,
// else to its left, else as near as the work area allows; never over the other's menu bar unless
// the screen is too small for both.
QRect beside(const QWidget* window, const QWidget* owner);

}  // namespace velnor
