#pragma once

#include <QFont>
#include <QString>

namespace velnor {

// The fonts the forms name (register_font_substitutions maps them onto free ones).
inline const QString kFormFont = QStringLiteral("MS Sans Serif");
inline const QString kButtonFont = QStringLiteral("Arial");
inline const QString kSerifFont = QStringLiteral("Times New Roman");

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

// Starts reading the system's font configuration on a helper thread. Needs no application
// object: called before it, the reading (a good part of a start) overlaps the connection to the
// display, and Qt finds the configuration read when it first looks for a font.
void read_font_configuration_ahead();

}  // namespace velnor
