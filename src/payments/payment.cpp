#include "payments/payment.h"

#include "common/texts.h"
#include "data/database.h"
#include "data/dates.h"
#include "data/journal.h"
#include "data/months.h"
#include "residents/residents.h"

namespace domiva::payments {
namespace {

// Credits months first..last of the apartment's row for `year` with `share`
// each (a month's value is replaced, not added to), then recomputes the
// year's total and the debt left.
void creditMatrix(qint64 apartment, const QString &family, int year, int first, int last, qint64 share,
                  qint64 monthlyPay) {
  const QStringList &columns = months::columns();
  auto row = db::exec(QStringLiteral("SELECT rowid, %1 FROM anual_report WHERE apartment = ? AND year = ?")
                          .arg(columns.join(QLatin1Char(','))),
                      {apartment, year});
  qint64 rowId = 0;
  QVariantList cells;
  if (row.next()) {
    rowId = row.value(0).toLongLong();
    for (int m = 0; m < 12; ++m) // an empty month stays NULL, not text
      cells << (row.isNull(m + 1) ? QVariant() : QVariant(row.value(m + 1).toLongLong()));
  } else {
    const auto inserted = db::exec(
        QStringLiteral("INSERT INTO anual_report (apartment, family, year) VALUES (?, ?, ?)"),
        {apartment, family, year});
    rowId = inserted.lastInsertId().toLongLong();
    for (int m = 0; m < 12; ++m)
      cells << QVariant();
  }
  for (int m = first; m <= last; ++m)
    cells[m] = share;
  qint64 total = 0;
  for (const QVariant &cell : cells)
    if (!cell.isNull())
      total += cell.toLongLong();

  QStringList assignments;
  for (const QString &column : columns)
    assignments << column + QStringLiteral(" = ?");
  QVariantList values = cells;
  values << total << 12 * monthlyPay - total << rowId;
  db::exec(QStringLiteral("UPDATE anual_report SET %1, total = ?, depth = ? WHERE rowid = ?")
               .arg(assignments.join(QStringLiteral(", "))),
           values);
}

} // namespace

QString listQuery() {
  return QStringLiteral("select inputdate as תאריך_קליטה,apartment as דירה,\"for\" as עבור,detail as פירוט,"
                        "from_month as מחודש,to_month as עד_חודש, payment as סוג_תשלום ,amount as סכום,"
                        "reciept as קבלה from incoming ");
}

QString residentName(const QString &apartmentText) {
  const auto apartment = residents::parseApartment(apartmentText);
  if (!apartment)
    return {};
  try {
    const auto resident = residents::find(*apartment);
    return resident ? resident->family : QString();
  } catch (const db::Error &) {
    return {};
  }
}

Outcome record(const PaymentInput &input, qint64 monthlyPay) {
  if (input.forText.isEmpty())
    return {texts::forRequired, Field::None};
  if (input.apartment.isEmpty())
    return {texts::apartmentRequired, Field::Apartment};
  const auto amount = Money::parse(input.amount);
  if (!amount)
    return {texts::badAmount, Field::Amount};
  const int first = months::indexOfListName(input.fromMonth);
  if (first < 0)
    return {texts::badMonth, Field::FromMonth};
  const int last = months::indexOfListName(input.toMonth);
  if (last < 0)
    return {texts::badMonth, Field::ToMonth};
  if (first > last)
    return {texts::monthsReversed, Field::FromMonth};
  const auto apartment = residents::parseApartment(input.apartment);
  if (!apartment)
    return {texts::apartmentMissing, Field::Apartment};

  try {
    const auto resident = residents::find(*apartment);
    if (!resident)
      return {texts::apartmentMissing, Field::Apartment};
    const QString date = dates::toIso(input.inputDate);
    db::Transaction transaction;
    db::exec(QStringLiteral("INSERT INTO incoming (inputdate, apartment, \"for\", detail, from_month, to_month, "
                            "payment, amount) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
             {date, *apartment, input.forText, input.detail, input.fromMonth, input.toMonth, input.payment,
              amount->agorot()});
    journal::add(input.forText, *amount, input.inputDate, texts::income);
    creditMatrix(*apartment, resident->family, input.inputDate.year(), first, last,
                 amount->shareInShekels(last - first + 1), monthlyPay);
    transaction.commit();
  } catch (const db::Error &e) {
    return {texts::saveFailed.arg(e.text()), Field::None};
  }
  return {};
}


} // namespace domiva::payments
