#include "text/dates.h"

#include <QRegularExpression>

namespace domiva::dates {

QString toIso(const QDate &date) { return date.toString(Qt::ISODate); }

QDate fromIso(const QString &text) { return QDate::fromString(text, Qt::ISODate); }
QString momentToIso(const QDateTime &moment) { return moment.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")); }
QDateTime momentFromIso(const QString &text) {
  // The wall clock as written, on a timeline without zones: moments are
  // only compared and shown, and reading them in local time asks the
  // system for the zone's rules on every row (who owes reads one a payment).
  if (text.size() != 19 || text[10] != QLatin1Char('T'))
    return {};
  const auto at = [&text](int from, int size) { return QStringView(text).mid(from, size).toInt(); };
  return QDateTime(QDate(at(0, 4), at(5, 2), at(8, 2)), QTime(at(11, 2), at(14, 2), at(17, 2)), Qt::UTC);
}

// Every screen and paper shows a date the same way, whatever the system's
// language: numbers read the same right to left, and a month spelled out
// or a month first ("3/15/26") would mislead a treasurer.
QString shortFormat() { return QStringLiteral("dd/MM/yyyy"); }

QString toShort(const QDate &date) { return date.toString(shortFormat()); }

std::optional<QDate> parseTyped(const QString &text, const QDate &shown) {
  static const QRegularExpression apart(QStringLiteral("^(\\d{1,2})([/.-])(\\d{1,2})\\2(\\d{4})$"));
  static const QRegularExpression part(QStringLiteral("^(\\d{1,2})(?:[/.-](\\d{1,2}))?$"));
  static const QRegularExpression digits(QStringLiteral("^\\d{7,8}$"));
  const QString typed = text.trimmed();
  const auto date = [](int day, int month, int year) {
    const QDate found(year, month, day);
    return found.isValid() && year >= 1970 && year <= 2099 ? std::optional<QDate>(found) : std::nullopt;
  };
  if (const auto match = apart.match(typed); match.hasMatch())
    return date(match.captured(1).toInt(), match.captured(3).toInt(), match.captured(4).toInt());
  if (const auto match = part.match(typed); match.hasMatch() && shown.isValid())
    return date(match.captured(1).toInt(), match.captured(2).isEmpty() ? shown.month() : match.captured(2).toInt(),
                shown.year());
  if (!digits.match(typed).hasMatch())
    return std::nullopt;
  const int year = typed.right(4).toInt();
  if (typed.size() == 8)
    return date(typed.left(2).toInt(), typed.mid(2, 2).toInt(), year);
  const auto dayFirst = date(typed.left(2).toInt(), typed.mid(2, 1).toInt(), year);
  const auto monthLonger = date(typed.left(1).toInt(), typed.mid(1, 2).toInt(), year);
  return dayFirst && monthLonger ? std::nullopt : dayFirst ? dayFirst : monthLonger;
}

} // namespace domiva::dates
