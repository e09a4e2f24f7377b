#pragma once
// The dues schedule: what each apartment owes each month, from the books'
// start on.
#include "store/database.h"
#include "text/money.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <optional>

namespace domiva::ledger {

// A month counted from year 0: year * 12 + (month - 1), so months compare
// and step as whole numbers.
constexpr int monthIndex(int year, int month) { return year * 12 + month - 1; }
inline int monthIndex(const QDate &date) { return monthIndex(date.year(), date.month()); }
inline QDate firstDay(int monthIndex) { return QDate(monthIndex / 12, monthIndex % 12 + 1, 1); }

// A row of the schedule: `amount` a month from month `from` on, for one
// apartment, or (none) for every apartment without a row of its own;
// `entered` is when it was saved (none: known from the start).
struct DuesRow {
  int from = 0;
  Money amount;
  std::optional<qint64> apartment;
  QDateTime entered;
};

class Dues {
public:
  Dues() = default;
  // `start`: the first month the books charge dues for.
  Dues(const QList<DuesRow> &rows, int start);
  // The schedule and the books' start as the file holds them. Throws db::Error.
  static Dues read(const db::Store &store);

  int start() const { return m_start; }
  // The amount in force in month `at`: the apartment's own row if one
  // applies, else the building's; before the first row, the first row's.
  // With `knownAt`, as the schedule stood then (the rows entered by then):
  // a payment is weighed by the dues known when it was recorded, so a later
  // change never re-cuts what was paid.
  Money inForce(qint64 apartment, int at, const QDateTime &knownAt = {}) const;
  // A payment's weights depend on the apartment only when it has rows of
  // its own, and on the moment only through how many rows were entered by
  // then: together they name the weights a payment shares with others.
  bool hasOwn(qint64 apartment) const { return m_own.contains(apartment); }
  int knownBy(const QDateTime &moment) const;
  // What the apartment owes for month `at`: nothing before the books' start.
  Money owed(qint64 apartment, int at) const { return at < m_start ? Money() : inForce(apartment, at); }
  // The year's dues: the months of `year` from the books' start on.
  Money ofYear(qint64 apartment, int year) const;

private:
  QList<DuesRow> m_building;           // by `from`, ascending
  QHash<qint64, QList<DuesRow>> m_own; // each apartment's, by `from`
  int m_start = 0;
  QList<QDateTime> m_entered; // every row's moment of entry, ascending (none: known from the start)
};

} // namespace domiva::ledger
