#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace velnor::testing {

// Reads a screen dump as `xwd` writes it: Z format, true colour, 24 or 32 bits a pixel.
// Anything else, or a dump cut short, gives a null image and says why.
QImage read_xwd(const QByteArray& dump, QString& why);

}  // namespace velnor::testing
