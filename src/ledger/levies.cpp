#include "ledger/levies.h"

#include "store/database.h"
#include "text/dates.h"

#include <QHash>

namespace domiva::levies {

QList<Levy> all(const db::Store &store) {
  QList<Levy> found;
  auto rows = store.exec(QStringLiteral("SELECT id, name, first_due, instalments FROM levies ORDER BY first_due, id"));
  while (rows.next())
    found << Levy{rows.value(0).toLongLong(), rows.value(1).toString(), dates::fromIso(rows.value(2).toString()),
                  std::max(1, rows.value(3).toInt())};
  db::checkRead(rows);
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
  auto payments = store.exec(QStringLiteral("SELECT levy, apartment, sum(amount) FROM incoming WHERE levy IS NOT NULL "
                                            "AND cancelled IS NULL AND (? IS NULL OR apartment = ?) "
                                            "AND (? IS NULL OR inputdate <= ?) GROUP BY levy, apartment"),
                             {only, only, by, by});
  while (payments.next())
    paid.insert({payments.value(0).toLongLong(), payments.value(1).toLongLong()}, payments.value(2).toLongLong());
  db::checkRead(payments);
  payments.finish();
  QList<Charge> found;
  auto rows = store.exec(QStringLiteral("SELECT levy, apartment, amount FROM levy_charges "
                                        "WHERE ? IS NULL OR apartment = ? ORDER BY apartment, levy"),
                         {only, only});
  while (rows.next()) {
    const qint64 levy = rows.value(0).toLongLong(), charged = rows.value(1).toLongLong();
    found << Charge{levy, charged, Money::fromAgorot(rows.value(2).toLongLong()),
                    Money::fromAgorot(paid.value({levy, charged}))};
  }
  db::checkRead(rows);
  return found;
}

} // namespace domiva::levies
