#pragma once

class QWidget;

namespace velnor {

// When the panel hides while the keyboard is inside it (in its edit box), the
// keyboard goes to home, so that nothing hidden keeps taking the keys. A window
// minimised is no panel hidden: the keyboard stays where it is for the restore.
void return_focus_on_hide(QWidget* panel, QWidget* home);

}  // namespace velnor
