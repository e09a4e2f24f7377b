#include "ledger/consistency.h"

#include "ledger/matrix.h"
#include "store/database.h"
#include "store/journal.h"
#include "text/money.h"
#include "text/months.h"
#include "text/texts.h"

#include <QStringList>

namespace domiva::consistency {
namespace {

QString cellText(const std::optional<qint64> &cell) {
  return cell ? Money::fromAgorot(*cell).toString() : texts::checkEmpty;
}
QString moneyText(qint64 agorot) { return Money::fromAgorot(agorot).toString(); }

void checkMatrix(const db::Store &store, QList<Finding> &findings) {
  QList<std::pair<std::pair<qint64, int>, matrix::Cells>> stored;
  QList<std::pair<qint64, qint64>> totals; // total, depth
  // The columns as the query below selects them: the twelve months from firstMonth on.
  enum Column { apartmentColumn, yearColumn, firstMonth, totalColumn = firstMonth + 12, depthColumn };
  store.each(QStringLiteral("SELECT apartment, year, %1, total, depth FROM anual_report "
                            "ORDER BY year, apartment")
                 .arg(months::columns().join(QLatin1Char(','))),
             {}, [&](const QSqlQuery &rows) {
               matrix::Cells cells;
               for (int m = 0; m < 12; ++m)
                 if (!rows.isNull(firstMonth + m))
                   cells[m] = rows.value(firstMonth + m).toLongLong();
               stored.append({{rows.value(apartmentColumn).toLongLong(), rows.value(yearColumn).toInt()}, cells});
               totals.append({rows.value(totalColumn).toLongLong(), rows.value(depthColumn).toLongLong()});
             });
  const ledger::Dues dues = ledger::Dues::read(store);
  for (int r = 0; r < stored.size(); ++r) {
    const auto [apartment, year] = stored[r].first;
    const matrix::Cells expected = matrix::fromPayments(store, apartment, year, dues);
    QStringList differences;
    for (int m = 0; m < 12; ++m)
      if (stored[r].second[m] != expected[m])
        differences << texts::checkCell.arg(months::headers()[m], cellText(stored[r].second[m]), cellText(expected[m]));
    const qint64 total = matrix::total(expected), depth = dues.ofYear(apartment, year).agorot() - total;
    if (totals[r].first != total)
      differences << texts::checkCell.arg(texts::checkTotal, moneyText(totals[r].first), moneyText(total));
    if (totals[r].second != depth)
      differences << texts::checkCell.arg(texts::checkDepth, moneyText(totals[r].second), moneyText(depth));
    if (!differences.isEmpty())
      findings << Finding{texts::checkMatrixRow.arg(apartment).arg(year).arg(differences.join(QStringLiteral("; "))),
                          true, apartment, year};
  }

  QList<std::pair<qint64, int>> keys;
  store.each(
      QStringLiteral("SELECT DISTINCT apartment, year FROM incoming WHERE %1 AND NOT EXISTS "
                     "(SELECT 1 FROM anual_report a WHERE a.apartment = incoming.apartment AND a.year = incoming.year) "
                     "ORDER BY year, apartment")
          .arg(matrix::crediting),
      {}, [&](const QSqlQuery &missing) {
        keys.append({missing.value(0).toLongLong(), missing.value(1).toInt()});
      });
  for (const auto &[apartment, year] : keys) {
    const qint64 total = matrix::total(matrix::fromPayments(store, apartment, year, dues));
    findings << Finding{texts::checkMatrixRow.arg(apartment).arg(year).arg(texts::checkNoRow.arg(moneyText(total))),
                        true, apartment, year};
  }
}

void checkJournal(const db::Store &store, QList<Finding> &findings, const journal::Source &source,
                  const QString &label) {
  auto rows = store.one(QStringLiteral("SELECT count(*) + count(cancelled), "
                                       "coalesce(sum(CASE WHEN cancelled IS NULL THEN amount END), 0) FROM %1")
                            .arg(source.table));
  const qint64 expectedCount = rows.value(0).toLongLong();
  const Money expectedSum = Money::fromAgorot(rows.value(1).toLongLong());
  rows.finish();
  auto journal = store.one(QStringLiteral("SELECT count(*), coalesce(sum(amount), 0) FROM trans WHERE \"Type\" = ?"),
                           {source.type});
  const qint64 count = journal.value(0).toLongLong();
  const Money sum = Money::fromAgorot(journal.value(1).toLongLong());
  journal.finish();
  if (count != expectedCount || sum != expectedSum)
    findings << Finding{
        texts::checkJournal.arg(label).arg(count).arg(sum.toString()).arg(expectedCount).arg(expectedSum.toString())};
}

} // namespace

QList<Finding> check(const db::Store &store) {
  QList<Finding> findings;
  checkMatrix(store, findings);
  checkJournal(store, findings, journal::payments(), texts::incomes);
  checkJournal(store, findings, journal::expenses(), texts::expensesWord);
  return findings;
}

void repair(const db::Store &store, const QList<Finding> &findings) {
  db::Transaction transaction(store);
  const ledger::Dues dues = ledger::Dues::read(store);
  for (const Finding &finding : findings)
    if (finding.matrixRow)
      matrix::rebuild(store, finding.apartment, finding.year, dues);
  transaction.commit();
}

} // namespace domiva::consistency
