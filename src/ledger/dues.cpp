#include "ledger/dues.h"

#include "store/building.h"
#include "store/database.h"
#include "text/dates.h"

#include <algorithm>

namespace domiva::ledger {
namespace {
// The row in force at `at`: the last that starts on or before it, of those
// entered by `knownAt` (every row when it is none).
const DuesRow *inForceAt(const QList<DuesRow> &rows, int at, const QDateTime &knownAt) {
  auto after = std::upper_bound(rows.begin(), rows.end(), at, [](int m, const DuesRow &r) { return m < r.from; });
  while (after != rows.begin()) {
    --after;
    if (!knownAt.isValid() || !after->entered.isValid() || after->entered <= knownAt)
      return &*after;
  }
  return nullptr;
}
} // namespace

Dues::Dues(const QList<DuesRow> &rows, int start) : m_start(start) {
  for (const DuesRow &row : rows)
    (row.apartment ? m_own[*row.apartment] : m_building).append(row);
  const auto byMonth = [](const DuesRow &a, const DuesRow &b) { return a.from < b.from; };
  std::stable_sort(m_building.begin(), m_building.end(), byMonth);
  for (auto &own : m_own)
    std::stable_sort(own.begin(), own.end(), byMonth);
  for (const DuesRow &row : rows)
    if (row.entered.isValid())
      m_entered << row.entered;
  std::sort(m_entered.begin(), m_entered.end());
}

int Dues::knownBy(const QDateTime &moment) const {
  if (!moment.isValid())
    return int(m_entered.size());
  return int(std::upper_bound(m_entered.begin(), m_entered.end(), moment) - m_entered.begin());
}

Dues Dues::read(const db::Store &store) {
  QList<DuesRow> rows;
  store.each(QStringLiteral("SELECT year, month, amount, apartment, entered FROM dues"), {},
             [&](const QSqlQuery &query) {
               DuesRow row{monthIndex(query.value(0).toInt(), query.value(1).toInt()),
                           Money::fromAgorot(query.value(2).toLongLong()), std::nullopt,
                           dates::momentFromIso(query.value(4).toString())};
               if (!query.isNull(3))
                 row.apartment = query.value(3).toLongLong();
               rows << row;
             });
  // The file's own opening date, also inside a save that is changing it.
  return Dues(rows, monthIndex(readBuilding(store).openDate));
}

Money Dues::inForce(qint64 apartment, int at, const QDateTime &knownAt) const {
  if (const auto own = m_own.constFind(apartment); own != m_own.cend())
    if (const DuesRow *row = inForceAt(*own, at, knownAt))
      return row->amount;
  if (const DuesRow *row = inForceAt(m_building, at, knownAt))
    return row->amount;
  // A moment before any row was entered knows the schedule as it is.
  if (knownAt.isValid())
    return inForce(apartment, at);
  return m_building.isEmpty() ? Money() : m_building.first().amount;
}

Money Dues::ofYear(qint64 apartment, int year) const {
  Money sum;
  for (int month = 1; month <= 12; ++month)
    sum += owed(apartment, monthIndex(year, month));
  return sum;
}

} // namespace domiva::ledger
