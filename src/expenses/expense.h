#pragma once
#include "store/database.h"
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace domiva::expenses {

// The expenses grid: every expense, headers from the aliases, then the
// cancellation and the receipt number (which the grid keeps hidden).
QString listQuery();
inline constexpr int categoryColumn = 0;
inline constexpr int dateColumn = 1;
inline constexpr int amountColumn = 5;
inline constexpr int statusColumn = 6;
inline constexpr int recieptColumn = 7;

struct ExpenseInput {
  QString category;
  QDate date;
  QString payby;
  QString detail;
  QString supplier;
  QString amount;
  qint64 bankLine = 0; // the bank statement's line it records, if one
  QString fund = {};   // the fund it is paid from; empty: the running account
};

// The field a refused expense is corrected in.
enum class Field { None, Category, Amount };
struct Outcome {
  QString message; // empty when the expense was recorded
  Field focus = Field::None;
  bool ok() const { return message.isEmpty(); }
};

// Writes the removals row and its trans row in one transaction; refused,
// the message to show and the field to correct, nothing written.
Outcome record(const db::Store &store, const ExpenseInput &input);

// Cancels expense `reciept` (see journal::cancel) in one transaction. An
// empty text on success, otherwise the refusal.
QString cancel(const db::Store &store, qint64 reciept, const QString &reason, const QDate &day);

// Appends a supplier name, trimmed; an empty name and one already listed are refused.
QString addSupplier(const db::Store &store, const QString &name);

// The names of the two lists, in table order, repeats kept.
QStringList categories(const db::Store &store);
QStringList suppliers(const db::Store &store);

} // namespace domiva::expenses
