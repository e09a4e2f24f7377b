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

#include <algorithm>
#include <numeric>
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
      "coalesce(part_of, reciept) as קבלה,"
      "CASE WHEN cancelled IS NULL THEN '' ELSE 'מבוטל: ' || cancel_reason END as ביטול,"
      "reciept as שורה "
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

namespace {
// A refusal found inside the transaction: it rolls back.
struct Refused {
  QString message;
};

// A payment checked and ready to write: its rows, one, or two when its
// months run across the year's end (the months to December in its year,
// those from January in the next).
struct Row {
  int first = -1, last = -1;
  std::optional<int> year;
  Money amount;
};
struct Checked {
  Outcome refusal;
  qint64 apartment = 0;
  Purpose purpose;
  Money amount;
  QList<Row> rows;
};

// The part of `whole` that pays the months first..11 of `year` out of
// first..last across the year's end: shared as the matrix shares a payment,
// by the dues in force (equal when they are not all positive).
Money firstYearShare(const db::Store &store, qint64 apartment, int year, int first, int last, Money whole) {
  const ledger::Dues dues = ledger::Dues::read(store);
  const matrix::Weights now = matrix::weights(dues, apartment, year);
  const matrix::Weights next = matrix::weights(dues, apartment, year + 1);
  QList<qint64> weights;
  for (int m = first; m < 12; ++m)
    weights << now[m];
  const qsizetype before = weights.size();
  for (int m = 0; m <= last; ++m)
    weights << next[m];
  const qint64 sum = std::accumulate(weights.begin(), weights.end(), qint64(0));
  const bool positive = std::all_of(weights.begin(), weights.end(), [](qint64 w) { return w > 0; });
  qint64 share = 0;
  for (qsizetype m = 0; m < before; ++m)
    share += positive ? whole.agorot() * weights[m] / sum : whole.agorot() / weights.size();
  return Money::fromAgorot(share);
}

// Checks `input` as "בצע" would. Throws db::Error when the books can't be read.
Checked checked(const db::Store &store, const PaymentInput &input) {
  Checked c;
  const auto refuse = [&c](const QString &message, Field focus) {
    c.refusal = {message, focus};
    return c;
  };
  if (input.forText.trimmed().isEmpty())
    return refuse(texts::forRequired, Field::None);
  if (input.apartment.isEmpty())
    return refuse(texts::apartmentRequired, Field::Apartment);
  const auto amount = input::amount(input.amount);
  if (!amount)
    return refuse(input::amountRefusal(input.amount), Field::Amount);
  if (amount->agorot() == 0)
    return refuse(texts::zeroAmount, Field::Amount);
  const auto apartment = residents::parseApartment(input.apartment);
  if (!apartment)
    return refuse(texts::apartmentMissing, Field::Apartment);
  if (const QString refusal = apartmentRefusal(store, *apartment); !refusal.isEmpty())
    return refuse(refusal, Field::Apartment);
  if (const QString refusal = input::checkTexts({{texts::forField, input.forText},
                                                 {texts::detailField, input.detail},
                                                 {texts::paymentField, input.payment},
                                                 {texts::referenceField, input.reference}});
      !refusal.isEmpty())
    return refuse(refusal, Field::None);
  c.apartment = *apartment;
  c.amount = *amount;
  c.purpose = purposeOf(store, input.forText);
  // The months and the year are a payment of dues's alone.
  if (c.purpose.months()) {
    const int first = months::indexOfTyped(input.fromMonth);
    const int last = months::indexOfTyped(input.toMonth);
    const auto year = parseYear(input.year);
    if (first < 0)
      return refuse(texts::badMonth, Field::FromMonth);
    if (last < 0)
      return refuse(texts::badMonth, Field::ToMonth);
    if (!year || (first > last && *year == lastYear))
      return refuse(texts::badYear, Field::Year);
    if (first <= last) {
      c.rows = {{first, last, year, *amount}};
    } else {
      const Money share = firstYearShare(store, *apartment, *year, first, last, *amount);
      c.rows = {{first, 11, year, share}, {0, last, *year + 1, *amount - share}};
    }
  } else {
    c.rows = {{-1, -1, std::nullopt, *amount}};
  }
  // Until the building's apartments are counted, an apartment is one with a resident.
  if (building(store).apartments <= 0 && !residents::find(store, *apartment))
    return refuse(texts::apartmentMissing, Field::Apartment);
  if (c.purpose.levy && store.one(QStringLiteral("SELECT count(*) FROM levy_charges WHERE levy = ? AND apartment = ?"),
                                  {c.purpose.levy, *apartment})
                                .value(0)
                                .toLongLong() == 0)
    return refuse(texts::levyNotCharged.arg(c.purpose.text).arg(*apartment), Field::Apartment);
  return c;
}

// Writes a checked payment's rows, their journal rows and the matrix rows
// of their years, in the caller's transaction. The first row written is the
// receipt, unless `receipt` names one already: each further row is its part.
void write(const db::Store &store, const PaymentInput &input, const Checked &c, qint64 &receipt) {
  if (input.bankLine)
    if (const QString refusal = bank::check(store, input.bankLine, QStringLiteral("incoming"), c.amount);
        !refusal.isEmpty())
      throw Refused{refusal};
  for (const Row &row : c.rows) {
    // The months are stored as their list items, however they were typed.
    const bool months = row.first >= 0;
    const auto inserted = store.exec(
        QStringLiteral(
            "INSERT INTO incoming (inputdate, apartment, \"for\", detail, from_month, to_month, payment, "
            "amount, year, levy, reference, recorded, part_of) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {dates::toIso(input.inputDate), c.apartment, c.purpose.text, input.detail,
         months ? months::listNames()[row.first] : QString(), months ? months::listNames()[row.last] : QString(),
         input.payment, row.amount.agorot(), row.year ? QVariant(*row.year) : QVariant(),
         c.purpose.levy ? QVariant(c.purpose.levy) : QVariant(), input.reference, dates::momentToIso(now()),
         receipt ? QVariant(receipt) : QVariant()});
    const qint64 reciept = inserted.lastInsertId().toLongLong();
    journal::add(store, journal::payments(), reciept, c.purpose.text, row.amount, input.inputDate);
    if (input.bankLine)
      bank::link(store, input.bankLine, QStringLiteral("incoming"), reciept, row.amount, c.apartment);
    if (row.year)
      matrix::rebuild(store, c.apartment, *row.year, ledger::Dues::read(store));
    if (!receipt)
      receipt = reciept;
  }
}
} // namespace

Outcome record(const db::Store &store, const QList<PaymentInput> &inputs, Receipts receipts) {
  try {
    QList<Checked> checked;
    for (const PaymentInput &input : inputs) {
      checked << payments::checked(store, input);
      if (!checked.last().refusal.ok())
        return checked.last().refusal;
      if (receipts == Receipts::One && checked.last().apartment != checked.first().apartment)
        return {texts::partsOfOneApartment, Field::Apartment};
    }
    db::Transaction transaction(store);
    QList<qint64> numbers;
    qint64 receipt = 0;
    for (qsizetype i = 0; i < inputs.size(); ++i) {
      if (receipts == Receipts::EachOwn)
        receipt = 0;
      write(store, inputs[i], checked[i], receipt);
      if (!numbers.contains(receipt))
        numbers << receipt;
    }
    transaction.commit();
    return {{}, Field::None, numbers};
  } catch (const Refused &refused) {
    return {refused.message, Field::Amount};
  } catch (const db::Error &e) {
    return {db::saveFailure(e), Field::None};
  }
}

Outcome record(const db::Store &store, const PaymentInput &input) { return record(store, QList{input}, Receipts::One); }

Outcome check(const db::Store &store, const PaymentInput &input) {
  try {
    return checked(store, input).refusal;
  } catch (const db::Error &e) {
    return {db::saveFailure(e), Field::None};
  }
}

namespace {
// The payments by standing order dated first..last, not cancelled, each
// as recorded: a receipt's rows of one purpose (across the year's end, two)
// taken together, from the first row's months to the last's.
QList<PaymentInput> standingOrdersOf(const db::Store &store, const QDate &first, const QDate &last) {
  QList<PaymentInput> orders;
  store.each(
      QStringLiteral(
          "SELECT p.inputdate, p.apartment, p.\"for\", p.detail, f.from_month, l.to_month, p.payment, "
          "p.amount, l.year FROM (SELECT inputdate, apartment, \"for\", detail, payment, sum(amount) AS "
          "amount, min(reciept) AS first, max(reciept) AS last FROM incoming WHERE cancelled IS NULL AND "
          "payment = ? AND inputdate BETWEEN ? AND ? GROUP BY coalesce(part_of, reciept), inputdate, apartment, "
          "\"for\", detail, payment) AS p JOIN incoming f ON f.reciept = p.first JOIN incoming l ON l.reciept = p.last "
          "ORDER BY p.inputdate, p.first"),
      {texts::standingOrder, dates::toIso(first), dates::toIso(last)}, [&](const QSqlQuery &q) {
        orders << PaymentInput{dates::fromIso(q.value(0).toString()),
                               q.value(1).toString(),
                               q.value(2).toString(),
                               q.value(3).toString(),
                               q.value(4).toString(),
                               q.value(5).toString(),
                               q.value(6).toString(),
                               Money::fromAgorot(q.value(7).toLongLong()).toString(),
                               q.value(8).toString()};
      });
  return orders;
}
} // namespace

QList<PaymentInput> standingOrders(const db::Store &store, const QDate &day) {
  const QDate first(day.year(), day.month(), 1);
  const QDate last = first.addMonths(1).addDays(-1);
  QList<PaymentInput> recorded = standingOrdersOf(store, first, last);
  QList<PaymentInput> proposed;
  for (PaymentInput order : standingOrdersOf(store, first.addMonths(-1), first.addDays(-1))) {
    const auto same = std::find_if(recorded.begin(), recorded.end(), [&](const PaymentInput &r) {
      return r.apartment == order.apartment && r.forText == order.forText && r.amount == order.amount;
    });
    if (same != recorded.end()) {
      recorded.erase(same);
      continue;
    }
    order.inputDate = QDate(first.year(), first.month(), std::min(order.inputDate.day(), last.day()));
    if (!order.year.isEmpty()) {
      // As many months again, from the one after the last paid.
      const int from = months::indexOfTyped(order.fromMonth);
      const int to = months::indexOfTyped(order.toMonth);
      if (from < 0 || to < 0)
        continue; // not months as the list holds them: left to be typed
      const int count = (to - from + 12) % 12 + 1;
      order.fromMonth = months::listNames()[(to + 1) % 12];
      order.toMonth = months::listNames()[(to + count) % 12];
      order.year = QString::number(order.year.toInt() + (to + 1) / 12);
    }
    proposed << order;
  }
  return proposed;
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
  if (first < 0 || last < 0 || !apartment || !year || !purposeOf(store, input.forText).months())
    return std::nullopt;
  // The dues the matrix will share the payment by, in the books' months,
  // over the next year's too when the months run across its end.
  const ledger::Dues dues = ledger::Dues::read(store);
  const auto owedIn = [&](int of, int from, int to) {
    const matrix::Weights owed = matrix::weights(dues, *apartment, of);
    matrix::Cells months;
    for (int m = from; m <= to; ++m)
      months[m] = owed[m];
    return matrix::total(matrix::withinBooks(months, of, dues));
  };
  const Money sum = Money::fromAgorot(first <= last ? owedIn(*year, first, last)
                                                    : owedIn(*year, first, 11) + owedIn(*year + 1, 0, last));
  return sum.agorot() > 0 ? std::optional(sum) : std::nullopt;
}

Money receiptAmount(const db::Store &store, qint64 reciept) {
  return Money::fromAgorot(
      store
          .one(
              QStringLiteral("SELECT sum(p.amount) FROM incoming r JOIN incoming p ON coalesce(p.part_of, p.reciept) = "
                             "coalesce(r.part_of, r.reciept) WHERE r.reciept = ?"),
              {reciept})
          .value(0)
          .toLongLong());
}

QString cancel(const db::Store &store, qint64 reciept, const QString &reason, const QDate &day) {
  try {
    db::Transaction transaction(store);
    // Every part of the receipt the row belongs to, the row itself first.
    QList<qint64> parts{reciept};
    store.each(QStringLiteral("SELECT p.reciept FROM incoming r JOIN incoming p ON coalesce(p.part_of, p.reciept) = "
                              "coalesce(r.part_of, r.reciept) WHERE r.reciept = ? AND p.reciept <> r.reciept AND "
                              "p.cancelled IS NULL ORDER BY p.reciept"),
               {reciept}, [&parts](const QSqlQuery &part) { parts << part.value(0).toLongLong(); });
    for (const qint64 part : parts) {
      if (const QString refusal = journal::cancel(store, journal::payments(), part, reason, day); !refusal.isEmpty())
        return refusal;
      auto row = store.one(QStringLiteral("SELECT apartment, year, levy FROM incoming WHERE reciept = ?"), {part});
      const qint64 apartment = row.value(0).toLongLong();
      const int year = row.value(1).toInt();
      const bool levy = !row.isNull(2);
      row.finish();
      // A levy's payment was never in the matrix: cancelling it restores the levy's debt alone.
      if (!levy)
        matrix::rebuild(store, apartment, year, ledger::Dues::read(store));
    }
    transaction.commit();
  } catch (const db::Error &e) {
    return db::saveFailure(e);
  }
  return {};
}

} // namespace domiva::payments
