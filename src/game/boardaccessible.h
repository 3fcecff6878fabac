#pragma once

#include <QString>

class QAccessibleInterface;
class QObject;

namespace velnor {

class BoardForm;

// The factory (for QAccessible::installFactory) of what a screen reader finds on the board: each
// tile a push button named "Tile 7" whose state is the game's (its description "open", "picked"
// or "shut"; a picked tile is pressed, a shut one unavailable) and whose Press is a click on it;
// the dice one label named by both faces and their total. Null for any other object.
QAccessibleInterface* board_accessible(const QString& class_name, QObject* object);

// Installs the factories, the windows' buttons', the board's and the coach's, for the whole
// program; once.
void install_accessibility();

// Tells a screen reader that the game has changed the tiles' states, or thrown the dice.
void announce_tiles(const BoardForm& board);
void announce_dice(const BoardForm& board);

}  // namespace velnor
