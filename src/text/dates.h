#pragma once
#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>

namespace domiva::dates {
// Dates are stored as ISO text, YYYY-MM-DD, so they sort and compare as text.
QString toIso(const QDate &date);
QDate fromIso(const QString &text);
// A moment likewise, to the second: YYYY-MM-DDTHH:MM:SS.
QString momentToIso(const QDateTime &moment);
QDateTime momentFromIso(const QString &text);
// The one form the screens and papers show dates in: dd/MM/yyyy.
QString shortFormat();
QString toShort(const QDate &date);
// A date typed whole: day, month and year apart ("30/4/2025", "30.04.2025",
// "30-4-2025") or in digits alone ("30042025", or "3042025" where only one
// reading is a date); a year from 1970 to 2099, so that no date is read
// from the first seven of eight digits. Nothing for a date that
// does not exist (31/04) or is not yet whole. With the date `shown`, a day
// alone ("15") or a day and month ("15/3") take the rest from it.
std::optional<QDate> parseTyped(const QString &text, const QDate &shown = {});
} // namespace domiva::dates
