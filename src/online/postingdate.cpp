#include "postingdate.h"

namespace velnor {

QString posting_date(const QDate& date, const QLocale& locale) {
  QChar separator = '/';
  for (const QChar c : locale.dateFormat(QLocale::ShortFormat))
    if (!c.isLetter() && !c.isSpace() && c != '\'') {
      separator = c;
      break;
    }
  return QString::number(date.month()) + separator + QString::number(date.day()) + separator +
         QString::number(date.year() % 100).rightJustified(2, '0');
}

}  // namespace velnor
