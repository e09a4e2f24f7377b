#include "text/dates.h"

namespace domiva::dates {

QString toIso(const QDate &date) { return date.toString(Qt::ISODate); }

QDate fromIso(const QString &text) { return QDate::fromString(text, Qt::ISODate); }

// Every screen and paper shows a date the same way, whatever the system's
// language: numbers read the same right to left, and a month spelled out
// or a month first ("3/15/26") would mislead a treasurer.
QString shortFormat() { return QStringLiteral("dd/MM/yyyy"); }

QString toShort(const QDate &date) { return date.toString(shortFormat()); }

} // namespace domiva::dates
