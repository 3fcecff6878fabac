#include "filetext.h"

namespace velnor {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; unassigned codes keep
// their Latin-1 control meaning.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Length of the valid UTF-8 sequence starting at bytes[i], or 0.
std::size_t utf8_length(std::string_view bytes, std::size_t i, char32_t& code) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
  const unsigned char lead = byte(i);
  std::size_t length;
  char32_t min;
  if (lead < 0x80) { code = lead; return 1; }
  if ((lead & 0xE0) == 0xC0) { length = 2; code = lead & 0x1F; min = 0x80; }
  else if ((lead & 0xF0) == 0xE0) { length = 3; code = lead & 0x0F; min = 0x800; }
  else if ((lead & 0xF8) == 0xF0) { length = 4; code = lead & 0x07; min = 0x10000; }
  else return 0;
  if (i + length > bytes.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i + k) & 0x3F);
  }
  if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

}  // namespace

QString file_text_to_display(std::string_view bytes) {
  QString text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  for (std::size_t i = 0; i < bytes.size();) {
    char32_t code = 0;
    const std::size_t length = utf8_length(bytes, i, code);
    if (length > 0) {
      text.append(QString::fromUcs4(&code, 1));
      i += length;
      continue;
    }
    const unsigned char byte = static_cast<unsigned char>(bytes[i++]);
    text.append(QChar(byte >= 0x80 && byte < 0xA0 ? kCp1252High[byte - 0x80] : char16_t{byte}));
  }
  return text;
}

}  // namespace velnor
