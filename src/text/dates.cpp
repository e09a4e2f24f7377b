#include "text/dates.h"

#include <QLocale>

namespace domiva::dates {

QString toIso(const QDate &date) { return date.toString(Qt::ISODate); }

QDate fromIso(const QString &text) { return QDate::fromString(text, Qt::ISODate); }

QString shortFormat() {
  // The C locale's short form spells the month ("6 Dec 2026"), which
  // right-to-left text scrambles; numbers read the same either way.
  const QLocale system = QLocale::system();
  if (system.language() == QLocale::C)
    return QStringLiteral("dd/MM/yyyy");
  return system.dateFormat(QLocale::ShortFormat);
}

QString toShort(const QDate &date) {
  // Asked once: the system's form does not change while the program runs,
  // and a list of thousands of dates would ask it for every row.
  static const QString format = shortFormat();
  return date.toString(format);
}

} // namespace domiva::dates
