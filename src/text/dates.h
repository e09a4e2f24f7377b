#pragma once
#include <QDate>
#include <QString>

namespace domiva::dates {
// Dates are stored as ISO text, YYYY-MM-DD, so they sort and compare as text.
QString toIso(const QDate &date);
QDate fromIso(const QString &text);
// The one form the screens and papers show dates in: dd/MM/yyyy.
QString shortFormat();
QString toShort(const QDate &date);
} // namespace domiva::dates
