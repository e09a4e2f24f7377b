#pragma once
#include "store/database.h"
#include "text/money.h"

#include <QDate>
#include <QString>

namespace domiva::journal {

// A table whose rows the journal `trans` records: payments or expenses.
struct Source {
  QString table;
  QString dateColumn;
  QString forColumn;
  QString type; // trans."Type" of its rows
};
const Source &payments();
const Source &expenses();

// Adds the trans row of row `reciept` of `source`; the caller's transaction
// keeps it together with the row it mirrors.
void add(const db::Store &store, const Source &source, qint64 reciept, const QString &forText, Money amount,
         const QDate &date);

// Marks row `reciept` of `source` cancelled on `day` for `reason`, and
// journals the opposite amount on the row's own date and purpose, so every
// period sums as if the row had never been recorded. Runs in the caller's
// transaction. An empty text on success, otherwise the refusal to show.
QString cancel(const db::Store &store, const Source &source, qint64 reciept, const QString &reason, const QDate &day);

} // namespace domiva::journal
