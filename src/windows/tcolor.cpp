#include "tcolor.h"

namespace velnor {

QColor tcolor(std::uint32_t value) {
  if ((value >> 24) == 0x80) {
    // System colours, fixed to the classic desktop values so that every machine
    // draws the same thing.
    switch (value & 0xFF) {
      case 0x05:
        return QColor(0xFF, 0xFF, 0xFF);  // window
      case 0x08:
        return QColor(0x00, 0x00, 0x00);  // window text
      case 0x0F:
        return QColor(0xF0, 0xF0, 0xF0);  // button face
      case 0x10:
        return QColor(0xA0, 0xA0, 0xA0);  // button shadow
      case 0x12:
        return QColor(0x00, 0x00, 0x00);  // button text
      case 0x14:
        return QColor(0xFF, 0xFF, 0xFF);  // button highlight
      default:
        return QColor(0x80, 0x80, 0x80);
    }
  }
  return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

}  // namespace velnor
