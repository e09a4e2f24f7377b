#include "ledger/matrix.h"

#include "store/database.h"
#include "text/months.h"

namespace domiva::matrix {

void credit(Cells &cells, int first, int last, Money amount) {
  if (first < 0 || last > 11 || first > last)
    return;
  const qint64 share = amount.shareInShekels(last - first + 1);
  for (int m = first; m <= last; ++m)
    cells[m] = cells[m].value_or(0) + share;
}

qint64 total(const Cells &cells) {
  qint64 sum = 0;
  for (const auto &cell : cells)
    sum += cell.value_or(0);
  return sum;
}

Cells fromPayments(qint64 apartment, int year) {
  Cells cells;
  auto payments = db::exec(QStringLiteral("SELECT from_month, to_month, amount FROM incoming "
                                          "WHERE apartment = ? AND year = ? AND cancelled IS NULL"),
                           {apartment, year});
  while (payments.next())
    credit(cells, months::indexOfListName(payments.value(0).toString()),
           months::indexOfListName(payments.value(1).toString()), Money::fromAgorot(payments.value(2).toLongLong()));
  db::checkRead(payments);
  return cells;
}

void rebuild(qint64 apartment, int year, qint64 monthlyPay) {
  const Cells cells = fromPayments(apartment, year);
  const qint64 sum = total(cells);
  QVariantList values;
  for (const auto &cell : cells)
    values << (cell ? QVariant(*cell) : QVariant());
  values << sum;

  auto existing =
      db::exec(QStringLiteral("SELECT rowid, total + depth FROM anual_report WHERE apartment = ? AND year = ?"),
               {apartment, year});
  const QString columns = months::columns().join(QLatin1Char(','));
  if (existing.next()) {
    const qint64 rowId = existing.value(0).toLongLong();
    const qint64 dues = existing.value(1).toLongLong();
    existing.finish();
    values << dues - sum << rowId;
    db::exec(QStringLiteral("UPDATE anual_report SET (%1, total, depth) = (%2) WHERE rowid = ?")
                 .arg(columns, QStringLiteral("?,").repeated(13) + QLatin1Char('?')),
             values);
    return;
  }
  existing.finish();
  values << 12 * monthlyPay - sum;
  db::exec(QStringLiteral("INSERT INTO anual_report (apartment, family, year, %1, total, depth) "
                          "VALUES (?, coalesce((SELECT family FROM neighbors WHERE apartment = ?), ''), ?, %2)")
               .arg(columns, QStringLiteral("?,").repeated(13) + QLatin1Char('?')),
           QVariantList{apartment, apartment, year} + values);
}

} // namespace domiva::matrix
