#pragma once
#include <QDate>
#include <QString>

namespace domiva::dates {
// Dates are stored as ISO text, YYYY-MM-DD, so they sort and compare as text.
QString toIso(const QDate &date);
QDate fromIso(const QString &text);
// The system's short date form, as the screens show dates.
QString shortFormat();
QString toShort(const QDate &date);
} // namespace domiva::dates
