#pragma once

class QWidget;

namespace velnor {

// When the panel hides while the keyboard is inside it (in its edit box), the
// keyboard goes to home, so that nothing hidden keeps taking the keys.
void return_focus_on_hide(QWidget* panel, QWidget* home);

}  // namespace velnor
