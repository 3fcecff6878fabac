#pragma once

#include <QSize>
#include <QString>

class QWidget;

namespace velnor {

class TLbBackground;

// Where a secondary window comes up.
enum class SecondaryPlace {
  on_owner_first,      // centred on its owner the first time, then where the player puts it
  on_owner_always,     // centred on its owner each time it is shown
  beside_owner_first,  // beside its owner the first time, then where the player puts it
  on_desktop_first,    // centred on the desktop the first time
};

struct SecondaryLook {
  QString name;   // the object name, as tests and other windows find the window
  QString title;  // exactly what the title bar shows
  QSize size;     // a fixed size; an empty one lets the window be resized
  SecondaryPlace place = SecondaryPlace::on_owner_first;
  bool taller = false;  // the player may make it taller than size (its width stays)
};

// Sets a secondary window up the way the game's windows all are: its name and title, Escape
// closes it, placed as asked (by its frame, inside the work area), the window colour behind it
// and the background component that the forms give every window (it holds no picture). Returns
// that component. A new secondary window is its own two files plus one line where it is created.
TLbBackground* set_up_secondary_window(QWidget* window, const SecondaryLook& look);

}  // namespace velnor
