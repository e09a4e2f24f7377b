#pragma once
#include "store/database.h"
#include "text/money.h"

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

namespace domiva::payments {

// The payments grid: every payment, headers from the aliases, the months'
// year after the months and the cancellation last.
QString listQuery();
inline constexpr int dateColumn = 0;
inline constexpr int apartmentColumn = 1;
inline constexpr int amountColumn = 9;
inline constexpr int recieptColumn = 10; // the receipt: a part shows its first row's
inline constexpr int statusColumn = 11;
inline constexpr int rowColumn = 12; // the row's own number, the grid's key (hidden)

// A payment as the payments window holds it when "בצע" is pressed.
struct PaymentInput {
  QDate inputDate;
  QString apartment;
  QString forText;
  QString detail;
  QString fromMonth;
  QString toMonth;
  QString payment;
  QString amount;
  QString year;           // the year the months belong to
  QString reference = {}; // אסמכתא: the cheque's or the transfer's number
  qint64 bankLine = 0;    // the bank statement's line it records, if one
};

// The field to give the focus to after a refusal.
enum class Field { None, Apartment, FromMonth, ToMonth, Year, Amount };

struct Outcome {
  QString message; // empty when the payment was recorded
  Field focus = Field::None;
  QList<qint64> reciepts = {}; // the receipt numbers of the rows written
  bool ok() const { return message.isEmpty(); }
  qint64 reciept() const { return reciepts.value(0); }
};

// Checks the payment, then writes its incoming and trans rows and rebuilds
// the apartment's matrix row of the payment's year, all in one transaction.
// Months from a later month to an earlier one (November to February) run
// across the year's end: two rows, one for each year, the amount shared as
// the matrix shares it. A payment "for" a levy's name pays that levy
// instead: its months and year are not used, and the matrix is not touched.
Outcome record(const db::Store &store, const PaymentInput &input);
// Several payments in one transaction, every one or none and the first
// refusal: each its own receipt (the month's standing orders), or the parts
// of one, all of one apartment (dues and a levy paid together).
enum class Receipts { EachOwn, One };
Outcome record(const db::Store &store, const QList<PaymentInput> &inputs, Receipts receipts);
// The refusal record() would give `input`, writing nothing.
Outcome check(const db::Store &store, const PaymentInput &input);

// The standing orders of the month before `day`'s: each payment by
// standing order dated then and not cancelled, proposed again for `day`'s
// month, dated the same day of it (or its last), by the same apartment,
// amount, purpose and method, for as many months after those it paid
// (a levy or the opening debt again as such). Left out: one already
// recorded this month by standing order (same apartment, purpose, amount).
// Throws db::Error.
QList<PaymentInput> standingOrders(const db::Store &store, const QDate &day);

// The levy named `forText`, if one is; 0 when none. Throws db::Error.
qint64 levyNamed(const db::Store &store, const QString &forText);

// Two inputs that would record the same apartment, year, months and amount.
bool samePayment(const PaymentInput &a, const PaymentInput &b);
// Whether payment `reciept` was cancelled (or is gone). Throws db::Error.
bool isCancelled(const db::Store &store, qint64 reciept);
// The amount typed (0 when it is none), and the dues in force in the months
// the input covers (nothing when its months are not listed, its apartment
// or year no number, or there are no dues). Throws db::Error.
Money amountOf(const PaymentInput &input);
std::optional<Money> duesOf(const db::Store &store, const PaymentInput &input);

// The amount of the whole receipt payment row `reciept` is on. Throws db::Error.
Money receiptAmount(const db::Store &store, qint64 reciept);

// Cancels payment row `reciept` with every other part of its receipt (see
// journal::cancel) and rebuilds their matrix rows, in one transaction. An empty text on success, otherwise the refusal.
QString cancel(const db::Store &store, qint64 reciept, const QString &reason, const QDate &day);

// The name of the apartment's resident, or an empty text (no such
// apartment, or no resident). Throws db::Error when it can't be read.
QString residentName(const db::Store &store, const QString &apartmentText);

// The years the year box accepts.
inline constexpr int firstYear = 2000;
inline constexpr int lastYear = 2100;

} // namespace domiva::payments
