#include "ledger/dues.h"

#include "store/building.h"
#include "store/database.h"

#include <algorithm>

namespace domiva::ledger {
namespace {
// The row in force at `at`: the last that starts on or before it.
const DuesRow *inForceAt(const QList<DuesRow> &rows, int at) {
  const auto after = std::upper_bound(rows.begin(), rows.end(), at, [](int m, const DuesRow &r) { return m < r.from; });
  return after == rows.begin() ? nullptr : &*(after - 1);
}
} // namespace

Dues::Dues(const QList<DuesRow> &rows, int start) : m_start(start) {
  for (const DuesRow &row : rows)
    (row.apartment ? m_own[*row.apartment] : m_building).append(row);
  const auto byMonth = [](const DuesRow &a, const DuesRow &b) { return a.from < b.from; };
  std::stable_sort(m_building.begin(), m_building.end(), byMonth);
  for (auto &own : m_own)
    std::stable_sort(own.begin(), own.end(), byMonth);
}

Dues Dues::read(const db::Store &store) {
  QList<DuesRow> rows;
  store.each(QStringLiteral("SELECT year, month, amount, apartment FROM dues"), {}, [&](const QSqlQuery &query) {
    DuesRow row{monthIndex(query.value(0).toInt(), query.value(1).toInt()),
                Money::fromAgorot(query.value(2).toLongLong()), std::nullopt};
    if (!query.isNull(3))
      row.apartment = query.value(3).toLongLong();
    rows << row;
  });
  // The file's own opening date, also inside a save that is changing it.
  return Dues(rows, monthIndex(readBuilding(store).openDate));
}

Money Dues::inForce(qint64 apartment, int at) const {
  if (const auto own = m_own.constFind(apartment); own != m_own.cend())
    if (const DuesRow *row = inForceAt(*own, at))
      return row->amount;
  if (const DuesRow *row = inForceAt(m_building, at))
    return row->amount;
  return m_building.isEmpty() ? Money() : m_building.first().amount;
}

Money Dues::ofYear(qint64 apartment, int year) const {
  Money sum;
  for (int month = 1; month <= 12; ++month)
    sum += owed(apartment, monthIndex(year, month));
  return sum;
}

} // namespace domiva::ledger
