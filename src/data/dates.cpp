#include "data/dates.h"

#include <QLocale>

namespace domiva::dates {

QString toIso(const QDate &date) { return date.toString(Qt::ISODate); }

QDate fromIso(const QString &text) { return QDate::fromString(text, Qt::ISODate); }

QString toShort(const QDate &date) { return QLocale::system().toString(date, QLocale::ShortFormat); }

} // namespace domiva::dates
