#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

namespace velnor {

// The date posted with a score: "m/d/yy" (no leading zeros but in the year),
// with the separator of the locale's short date format in place of "/". A
// format that names no separator, only letters and blanks, keeps "/".
QString posting_date(const QDate& date, const QLocale& locale);

}  // namespace velnor
