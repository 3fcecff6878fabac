#include "storedbounds.h"

#include <QGuiApplication>
#include <QWidget>

#include <algorithm>

#include "windows/windowplacement.h"

namespace velnor {

QRect placed_bounds(const QWidget* window, const WindowBounds& kept) {
  const WindowBounds reachable = within_reach(kept);
  // No smaller than the window allows: it would grow past the work area's edge after.
  const QSize least = window->minimumSizeHint() + (outer_bounds(window).size() - window->size());
  const QRect loaded(reachable.left, reachable.top, std::max(reachable.width, least.width()),
                     std::max(reachable.height, least.height()));
  return fit_into(loaded, work_area_for(loaded));
}

WindowBounds stored_bounds(const QWidget* window, const WindowBounds& kept) {
  const QRect now = outer_bounds(window);
  if (QGuiApplication::platformName().startsWith("wayland")) return {kept.left, kept.top, now.width(), now.height()};
  return {now.left(), now.top(), now.width(), now.height()};
}

QRect bounds_rect(const WindowBounds& bounds) { return QRect(bounds.left, bounds.top, bounds.width, bounds.height); }

}  // namespace velnor
