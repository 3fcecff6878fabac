#include "tfont.h"

#include <fontconfig/fontconfig.h>

#include <cmath>
#include <future>

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

void read_font_configuration_ahead() {
  // fontconfig makes its configuration once, whichever thread asks first; should Qt ask before
  // this is done, it waits for nothing and reads its own. Kept so that the exit waits for it.
  static std::future<void> reading = std::async(std::launch::async, [] { FcInit(); });
}

}  // namespace velnor
