#include "filetext.h"

#include "core/bytetext.h"

namespace velnor {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; unassigned codes keep
// their Latin-1 control meaning.
constexpr char16_t kCp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

QString file_text_to_display(std::string_view bytes) {
  QString text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  for (std::size_t i = 0; i < bytes.size();) {
    char32_t code = 0;
    const std::size_t length = text::utf8_sequence(bytes, i, code);
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
