#include "storedbounds.h"

#include <QGuiApplication>
#include <QWidget>

#include <algorithm>

#include "windows/windowplacement.h"

namespace velnor {

namespace {

// The least outer size the window allows, frame included.
QSize least_outer_size(const QWidget* window) {
  return window->minimumSizeHint() + (outer_bounds(window).size() - window->size());
}

}  // namespace

QRect placed_bounds(const QWidget* window, const WindowBounds& kept) {
  const WindowBounds reachable = within_reach(kept);
  // No smaller than the window allows: it would grow past the work area's edge after.
  const QSize least = least_outer_size(window);
  const QRect loaded(reachable.left, reachable.top, std::max(reachable.width, least.width()),
                     std::max(reachable.height, least.height()));
  return fit_into(loaded, work_area_for(loaded));
}

namespace {

// The bounds less what the game or the window manager made of the kept ones to fit this screen,
// which is not the player's: a side still where the game put it, squeezed below what the window
// allows, or on a screen the window cannot fit (scaled past the board's size) keeps what was
// kept, so the next start on a roomier screen is the player's own again.
WindowBounds without_forced_sides(const QWidget* window, WindowBounds bounds, const WindowBounds& kept) {
  const QRect now = outer_bounds(window);
  const QRect placed = placed_bounds(window, kept);
  const QSize least = least_outer_size(window);
  const QRect work = work_area_for(now);
  // A side shorter than kept because the kept one does not fit is the fit's, not the player's.
  if (now.width() < least.width() || least.width() > work.width() ||
      (now.width() < kept.width && kept.width > work.width())) {
    bounds.left = kept.left;
    bounds.width = kept.width;
  } else if (now.left() == placed.left()) {
    bounds.left = kept.left;
  }
  if (now.height() < least.height() || least.height() > work.height() ||
      (now.height() < kept.height && kept.height > work.height())) {
    bounds.top = kept.top;
    bounds.height = kept.height;
  } else if (now.top() == placed.top()) {
    bounds.top = kept.top;
  }
  return bounds;
}

WindowBounds bounds_of(const QRect& rect) { return {rect.left(), rect.top(), rect.width(), rect.height()}; }

// Bounds taken from the window, less what the platform cannot tell (under Wayland a window cannot
// learn where it is) and less its forced sides.
WindowBounds as_kept(const QWidget* window, const WindowBounds& bounds, const WindowBounds& kept) {
  WindowBounds stored = without_forced_sides(window, bounds, kept);
  if (QGuiApplication::platformName().startsWith("wayland")) {
    stored.left = kept.left;
    stored.top = kept.top;
  }
  return stored;
}

}  // namespace

WindowBounds stored_bounds(const QWidget* window, const WindowBounds& kept) {
  return as_kept(window, bounds_of(outer_bounds(window)), kept);
}

WindowBounds bounds_kept_at_close(const QWidget* window, const WindowBounds& kept) {
  const QRect now = outer_bounds(window);
  const QRect work = work_area_for(now);
  return as_kept(window, bounds_at_close(bounds_of(now), kept, work.width(), work.height()), kept);
}

QRect bounds_rect(const WindowBounds& bounds) { return QRect(bounds.left, bounds.top, bounds.width, bounds.height); }

}  // namespace velnor
