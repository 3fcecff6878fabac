#pragma once

#include <QFont>
#include <QString>

namespace velnor {

struct FontStyle {
  bool bold = false;
  bool underline = false;
};

// A font as the forms give it: a positive size is in points at the design's
// 96 dots per inch, a negative one is a height in pixels. Either way the result
// has a pixel size, so the layout is the same on every screen.
QFont tfont(const QString& family, int size, FontStyle style = {});

// The forms name Windows fonts; map them onto metric-compatible free ones.
void register_font_substitutions();

}  // namespace velnor
