#include "tfont.h"

#include <cmath>

namespace velnor {

QFont tfont(const QString& family, int size, FontStyle style) {
  QFont font(family);
  const int pixels = size < 0 ? -size : static_cast<int>(std::lround(size * 96.0 / 72.0));
  font.setPixelSize(pixels > 0 ? pixels : 1);
  font.setBold(style.bold);
  font.setUnderline(style.underline);
  return font;
}

void register_font_substitutions() {
  QFont::insertSubstitution(kFormFont, "Liberation Sans");
  QFont::insertSubstitution(kButtonFont, "Liberation Sans");
  QFont::insertSubstitution(kSerifFont, "Liberation Serif");
}

}  // namespace velnor
