#pragma once
// What each apartment owes as at a date: its dues from the books' start
// (the schedule) and its opening debt against what the matrix credits it,
// and its levies against their payments. One computation, for "חייבים", the
// apartment's story, the general-meeting report and the receipts alike.
#include "store/database.h"
#include "text/money.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

namespace domiva::owing {

// One apartment as at a date: only what was paid by then counts.
struct Account {
  qint64 apartment = 0;
  // Its resident's name on the date (empty when it has none), and where
  // its debt goes back to before they came, whose it was.
  QString family;
  QDate since;        // the day the oldest of its debt fell due
  int monthsDue = 0;  // months of the date's year charged up to the date
  Money due;          // their dues
  Money paid;         // what the matrix credits to them
  Money arrears;      // what of them is unpaid (never below 0)
  QStringList unpaid; // those months not paid in full, by header
  Money earlier;      // the opening debt and the years before, less what paid them (never below 0)
  Money levies;       // levy instalments due by the date and not paid (never below 0)
  // Paid beyond what is due: months paid ahead, the year's dues, a levy
  // or the earlier years overpaid. Shown beside the debt, never set against it.
  Money credit;
  QString lastLetter; // the last reminder sent by the date: its stage and day
  Money total() const { return arrears + earlier + levies; }
  bool owes() const { return total().agorot() > 0; }
};

// Every apartment of the building (1 to its number of apartments) and any
// other that has a resident, a payment, a matrix row, an opening debt or a
// levy charge, by apartment. Throws db::Error when it cannot be read.
QList<Account> accounts(const db::Store &store, const QDate &date);

// The grid of "חייבים": headers, and each apartment that owes (or, with
// `everyone`, every apartment) as a row; amounts in agorot.
QStringList debtorsHeaders();
QList<QVariantList> debtorsRows(const QList<Account> &accounts, bool everyone);
inline constexpr int debtorsMoney[] = {3, 4, 5, 7, 8, 9, 10}; // then the last letter

struct Summary {
  qint64 debtors = 0; // apartments owing anything
  Money arrears;      // of the year, up to the date
  Money earlier;      // from earlier years
  Money levies;       // of levies
};
Summary summary(const QList<Account> &accounts);
// Throws db::Error when it cannot be read.
Summary summary(const db::Store &store, const QDate &date);

// One apartment's payments (bound: the apartment), for a keyed grid: the
// row's own number, after the cancellation (the status), is the key; the
// receipt column shows the receipt a part is on.
QString paymentsQuery();
inline constexpr int paymentsDate = 0, paymentsAmount = 8, paymentsStatus = 10, paymentsRow = 11;

// One apartment's lines as at `date`, only what was paid by then
// counting: its opening debt, each year from the books' start (credited,
// due by the date and the debt), what was paid ahead, each levy charged to
// it (paid, charged by the date, the debt), then its whole debt and its
// credit as who owes has them; amounts in agorot, a debt positive and a
// credit negative. Throws db::Error.
QStringList linesHeaders();
QList<QVariantList> lines(const db::Store &store, qint64 apartment, const QDate &date);
inline constexpr int linesMoney[] = {1, 2, 3};

} // namespace domiva::owing
