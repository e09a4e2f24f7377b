#include "ledger/levies.h"

#include "store/database.h"
#include "text/dates.h"

#include <QHash>

namespace domiva::levies {

QList<Levy> all(const db::Store &store) {
  QList<Levy> found;
  store.each(QStringLiteral("SELECT id, name, first_due, instalments FROM levies ORDER BY first_due, id"), {},
             [&](const QSqlQuery &rows) {
               found << Levy{rows.value(0).toLongLong(), rows.value(1).toString(),
                             dates::fromIso(rows.value(2).toString()), std::max(1, rows.value(3).toInt())};
             });
  return found;
}

QHash<qint64, Levy> byId(const db::Store &store) {
  QHash<qint64, Levy> found;
  for (const Levy &levy : all(store))
    found.insert(levy.id, levy);
  return found;
}

Money dueBy(const Levy &levy, Money amount, const QDate &date) {
  int come = 0;
  while (come < levy.instalments && levy.firstDue.addMonths(come) <= date)
    ++come;
  if (come == levy.instalments)
    return amount;
  return Money::fromAgorot(amount.agorot() / levy.instalments * come);
}

QList<Charge> charges(const db::Store &store, std::optional<qint64> apartment, const QDate &paidBy) {
  const QVariant only = apartment ? QVariant(*apartment) : QVariant();
  const QVariant by = paidBy.isValid() ? QVariant(dates::toIso(paidBy)) : QVariant();
  // What was paid, in one pass over the levies' payments (a sum per charge
  // would read them once for each charge).
  QHash<std::pair<qint64, qint64>, qint64> paid;
  store.each(
      QStringLiteral("SELECT levy, apartment, sum(amount) FROM incoming WHERE levy IS NOT NULL "
                     "AND cancelled IS NULL AND (CAST(? AS INTEGER) IS NULL OR apartment = ?) "
                     "AND (CAST(? AS TEXT) IS NULL OR inputdate <= ?) GROUP BY levy, apartment"),
      {only, only, by, by}, [&](const QSqlQuery &payments) {
        paid.insert({payments.value(0).toLongLong(), payments.value(1).toLongLong()}, payments.value(2).toLongLong());
      });
  QList<Charge> found;
  store.each(QStringLiteral("SELECT levy, apartment, amount FROM levy_charges "
                            "WHERE CAST(? AS INTEGER) IS NULL OR apartment = ? ORDER BY apartment, levy"),
             {only, only}, [&](const QSqlQuery &rows) {
               const qint64 levy = rows.value(0).toLongLong(), charged = rows.value(1).toLongLong();
               found << Charge{levy, charged, Money::fromAgorot(rows.value(2).toLongLong()),
                               Money::fromAgorot(paid.take({levy, charged}))};
             });
  // What was paid toward a levy by an apartment it no longer charges is
  // money collected all the same: a charge of nothing, paid.
  for (auto left = paid.cbegin(); left != paid.cend(); ++left)
    found << Charge{left.key().first, left.key().second, Money(), Money::fromAgorot(left.value())};
  std::sort(found.begin(), found.end(), [](const Charge &a, const Charge &b) {
    return std::pair{a.apartment, a.levy} < std::pair{b.apartment, b.levy};
  });
  return found;
}

QHash<qint64, Charge> totals(const db::Store &store, const QDate &paidBy) {
  QHash<qint64, Charge> sums;
  for (const Charge &charge : charges(store, std::nullopt, paidBy)) {
    Charge &sum = sums[charge.levy];
    sum.levy = charge.levy;
    sum.amount += charge.amount;
    sum.paid += charge.paid;
  }
  return sums;
}

} // namespace domiva::levies
