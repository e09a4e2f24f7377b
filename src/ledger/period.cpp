#include "ledger/period.h"

#include "store/building.h"
#include "store/database.h"
#include "text/dates.h"

namespace domiva::ledger {
namespace {
// Income and expenses between two days, both included, cancelled rows left out.
std::pair<Money, Money> moneyBetween(const db::Store &store, const QDate &from, const QDate &to) {
  const QString first = dates::toIso(from), last = dates::toIso(to);
  auto sums = store.one(QStringLiteral("SELECT (SELECT coalesce(sum(amount), 0) FROM incoming "
                                       "WHERE inputdate BETWEEN ? AND ? AND cancelled IS NULL), "
                                       "(SELECT coalesce(sum(amount), 0) FROM removals "
                                       "WHERE \"Date\" BETWEEN ? AND ? AND cancelled IS NULL)"),
                        {first, last, first, last});
  return {Money::fromAgorot(sums.value(0).toLongLong()), Money::fromAgorot(sums.value(1).toLongLong())};
}
} // namespace

QDate openingDay(const db::Store &store, const QDate &from) { return std::max(from, building(store).openDate); }

Period period(const db::Store &store, const QDate &from, const QDate &to) {
  Period period;
  const Building details = building(store);
  period.opening = details.openBalance;
  // What came in and went out between the opening date and the period.
  if (details.openDate < from) {
    const auto [income, expenses] = moneyBetween(store, details.openDate, from.addDays(-1));
    period.opening += income - expenses;
  }
  std::tie(period.income, period.expenses) = moneyBetween(store, from, to);
  return period;
}

} // namespace domiva::ledger
