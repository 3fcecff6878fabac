#pragma once

class QWidget;

namespace velnor {

// When the panel hides while the keyboard is inside it (in its edit box), the
// keyboard goes to home, so that nothing hidden keeps taking the keys. A window
// minimised is no panel hidden: the keyboard stays where it is for the restore.
void return_focus_on_hide(QWidget* panel, QWidget* home);

// Tab and Shift+Tab (next or not) with a panel shown over a window go round the panel's own
// controls, as in a dialog, instead of on to the controls under it; from outside the panel they
// go into it. False, and nothing done, when the panel is hidden or has no control to go to.
bool keep_focus_within(QWidget* panel, bool next);

}  // namespace velnor
