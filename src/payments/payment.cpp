#include "payments/payment.h"

#include "bank/matching.h"
#include "ledger/dues.h"
#include "ledger/matrix.h"
#include "residents/residents.h"
#include "store/building.h"
#include "store/database.h"
#include "store/journal.h"
#include "text/dates.h"
#include "text/input.h"
#include "text/months.h"
#include "text/texts.h"
#include "text/today.h"

#include <optional>

namespace domiva::payments {
namespace {
std::optional<int> parseYear(const QString &text) {
  bool ok = false;
  const int year = text.trimmed().toInt(&ok);
  if (!ok || year < firstYear || year > lastYear)
    return std::nullopt;
  return year;
}
} // namespace

QString listQuery() {
  return QStringLiteral(
      "select inputdate as תאריך_קליטה,apartment as דירה,\"for\" as עבור,detail as פירוט,"
      "from_month as מחודש,to_month as עד_חודש,year as שנה, payment as סוג_תשלום ,reference as אסמכתא,"
      "amount as סכום,"
      "reciept as קבלה,"
      "CASE WHEN cancelled IS NULL THEN '' ELSE 'מבוטל: ' || cancel_reason END as ביטול "
      "from incoming ");
}

QString residentName(const db::Store &store, const QString &apartmentText) {
  const auto apartment = residents::parseApartment(apartmentText);
  if (!apartment)
    return {};
  const auto resident = residents::find(store, *apartment);
  return resident ? resident->family : QString();
}

qint64 levyNamed(const db::Store &store, const QString &forText) {
  auto levy = store.exec(QStringLiteral("SELECT id FROM levies WHERE name = ?"), {forText});
  const qint64 id = levy.next() ? levy.value(0).toLongLong() : 0;
  db::checkRead(levy);
  return id;
}

namespace {
// What a payment's "עבור" pays, matched as the user sees it (a space typed
// after a levy's name is no other purpose): a levy, the opening debt, or
// months of dues.
struct Purpose {
  QString text;
  qint64 levy = 0;
  bool opening = false;
  bool months() const { return !levy && !opening; }
};
Purpose purposeOf(const db::Store &store, const QString &forText) {
  const QString text = forText.trimmed();
  return {text, levyNamed(store, text), text == texts::openingDebt};
}
} // namespace

Outcome record(const db::Store &store, const PaymentInput &input) {
  if (input.forText.trimmed().isEmpty())
    return {texts::forRequired, Field::None};
  if (input.apartment.isEmpty())
    return {texts::apartmentRequired, Field::Apartment};
  const auto amount = input::amount(input.amount);
  if (!amount)
    return {input::amountRefusal(input.amount), Field::Amount};
  if (amount->agorot() == 0)
    return {texts::zeroAmount, Field::Amount};
  const auto apartment = residents::parseApartment(input.apartment);
  if (!apartment)
    return {texts::apartmentMissing, Field::Apartment};
  if (const QString refusal = apartmentRefusal(store, *apartment); !refusal.isEmpty())
    return {refusal, Field::Apartment};
  if (const QString refusal = input::checkTexts({{texts::forField, input.forText},
                                                 {texts::detailField, input.detail},
                                                 {texts::paymentField, input.payment},
                                                 {texts::referenceField, input.reference}});
      !refusal.isEmpty())
    return {refusal, Field::None};

  qint64 reciept = 0;
  try {
    const Purpose purpose = purposeOf(store, input.forText);
    const QString &forText = purpose.text;
    const qint64 levy = purpose.levy;
    // The months and the year are a payment of dues's alone.
    const bool dues = purpose.months();
    const int first = months::indexOfTyped(input.fromMonth);
    const int last = months::indexOfTyped(input.toMonth);
    const auto year = parseYear(input.year);
    if (dues) {
      if (first < 0)
        return {texts::badMonth, Field::FromMonth};
      if (last < 0)
        return {texts::badMonth, Field::ToMonth};
      if (first > last)
        return {texts::monthsReversed, Field::FromMonth};
      if (!year)
        return {texts::badYear, Field::Year};
    }
    // Until the building's apartments are counted, an apartment is one with a resident.
    if (building(store).apartments <= 0 && !residents::find(store, *apartment))
      return {texts::apartmentMissing, Field::Apartment};
    if (levy && store.one(QStringLiteral("SELECT count(*) FROM levy_charges WHERE levy = ? AND apartment = ?"),
                          {levy, *apartment})
                        .value(0)
                        .toLongLong() == 0)
      return {texts::levyNotCharged.arg(forText).arg(*apartment), Field::Apartment};
    db::Transaction transaction(store);
    if (input.bankLine)
      if (const QString refusal = bank::check(store, input.bankLine, QStringLiteral("incoming"), *amount);
          !refusal.isEmpty())
        return {refusal, Field::Amount};
    // The months are stored as their list items, however they were typed.
    const auto inserted = store.exec(
        QStringLiteral("INSERT INTO incoming (inputdate, apartment, \"for\", detail, from_month, to_month, "
                       "payment, amount, year, levy, reference, recorded) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {dates::toIso(input.inputDate), *apartment, forText, input.detail,
         dues ? months::listNames()[first] : QString(), dues ? months::listNames()[last] : QString(), input.payment,
         amount->agorot(), dues ? QVariant(*year) : QVariant(), levy ? QVariant(levy) : QVariant(), input.reference,
         dates::momentToIso(now())});
    reciept = inserted.lastInsertId().toLongLong();
    journal::add(store, journal::payments(), reciept, forText, *amount, input.inputDate);
    if (input.bankLine)
      bank::link(store, input.bankLine, QStringLiteral("incoming"), reciept, *amount, *apartment);
    if (dues)
      matrix::rebuild(store, *apartment, *year, ledger::Dues::read(store));
    transaction.commit();
  } catch (const db::Error &e) {
    return {db::saveFailure(e), Field::None};
  }
  return {{}, Field::None, reciept};
}

bool samePayment(const PaymentInput &a, const PaymentInput &b) {
  return residents::parseApartment(a.apartment) == residents::parseApartment(b.apartment) &&
         parseYear(a.year) == parseYear(b.year) &&
         months::indexOfTyped(a.fromMonth) == months::indexOfTyped(b.fromMonth) &&
         months::indexOfTyped(a.toMonth) == months::indexOfTyped(b.toMonth) &&
         Money::parse(a.amount) == Money::parse(b.amount);
}

bool isCancelled(const db::Store &store, qint64 reciept) {
  auto row = store.exec(QStringLiteral("SELECT cancelled IS NOT NULL FROM incoming WHERE reciept = ?"), {reciept});
  const bool found = row.next();
  db::checkRead(row);
  return !found || row.value(0).toBool();
}

Money amountOf(const PaymentInput &input) { return Money::parse(input.amount).value_or(Money()); }

std::optional<Money> duesOf(const db::Store &store, const PaymentInput &input) {
  const int first = months::indexOfTyped(input.fromMonth);
  const int last = months::indexOfTyped(input.toMonth);
  const auto apartment = residents::parseApartment(input.apartment);
  const auto year = parseYear(input.year);
  if (first < 0 || last < first || !apartment || !year || !purposeOf(store, input.forText).months())
    return std::nullopt;
  // The dues the matrix will share the payment by, in the books' months.
  const ledger::Dues dues = ledger::Dues::read(store);
  const matrix::Weights owed = matrix::weights(dues, *apartment, *year);
  matrix::Cells months;
  for (int m = first; m <= last; ++m)
    months[m] = owed[m];
  const Money sum = Money::fromAgorot(matrix::total(matrix::withinBooks(months, *year, dues)));
  return sum.agorot() > 0 ? std::optional(sum) : std::nullopt;
}

QString cancel(const db::Store &store, qint64 reciept, const QString &reason, const QDate &day) {
  try {
    db::Transaction transaction(store);
    if (const QString refusal = journal::cancel(store, journal::payments(), reciept, reason, day); !refusal.isEmpty())
      return refusal;
    auto row = store.one(QStringLiteral("SELECT apartment, year, levy FROM incoming WHERE reciept = ?"), {reciept});
    const qint64 apartment = row.value(0).toLongLong();
    const int year = row.value(1).toInt();
    const bool levy = !row.isNull(2);
    row.finish();
    // A levy's payment was never in the matrix: cancelling it restores the levy's debt alone.
    if (!levy)
      matrix::rebuild(store, apartment, year, ledger::Dues::read(store));
    transaction.commit();
  } catch (const db::Error &e) {
    return db::saveFailure(e);
  }
  return {};
}

} // namespace domiva::payments
