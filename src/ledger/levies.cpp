#include "ledger/levies.h"

#include "store/database.h"
#include "text/dates.h"

namespace domiva::levies {

QList<Levy> all() {
  QList<Levy> found;
  auto rows = db::exec(QStringLiteral("SELECT id, name, first_due, instalments FROM levies ORDER BY first_due, id"));
  while (rows.next())
    found << Levy{rows.value(0).toLongLong(), rows.value(1).toString(), dates::fromIso(rows.value(2).toString()),
                  std::max(1, rows.value(3).toInt())};
  db::checkRead(rows);
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

QList<Charge> charges(std::optional<qint64> apartment, const QDate &paidBy) {
  QList<Charge> found;
  const QVariant only = apartment ? QVariant(*apartment) : QVariant();
  const QVariant by = paidBy.isValid() ? QVariant(dates::toIso(paidBy)) : QVariant();
  auto rows = db::exec(QStringLiteral("SELECT c.levy, c.apartment, c.amount, (SELECT coalesce(sum(i.amount), 0) "
                                      "FROM incoming i WHERE i.levy = c.levy AND i.apartment = c.apartment "
                                      "AND i.cancelled IS NULL AND (? IS NULL OR i.inputdate <= ?)) "
                                      "FROM levy_charges c WHERE ? IS NULL OR c.apartment = ? "
                                      "ORDER BY c.apartment, c.levy"),
                       {by, by, only, only});
  while (rows.next())
    found << Charge{rows.value(0).toLongLong(), rows.value(1).toLongLong(), Money::fromAgorot(rows.value(2).toLongLong()),
                    Money::fromAgorot(rows.value(3).toLongLong())};
  db::checkRead(rows);
  return found;
}

} // namespace domiva::levies
