#pragma once
#include "ledger/period.h"
#include "printing/listwriter.h"
#include "store/database.h"
#include "text/money.h"

#include <QDate>
#include <QString>
#include <QTextDocument>
#include <memory>

namespace domiva::balance {

// Income of a period by what it was paid for, and expenses by category;
// both bind the first and the last day, which are included.
QString incomeQuery();
QString expenseQuery();

// The printed balance over the journal of the period: one line per `for`
// and type, the period and its year(s) shown in the header, and in the
// footer the period's result, its opening balance carried forward and the
// balance at its end, as the window shows them. Its rowCount is 0 when the
// period has no journal row.
listing::Printout printout(const db::Store &store, const QDate &from, const QDate &to, const ledger::Period &money);

// "2026", or "2026–2027" for a period across years: what a balance's title names.
QString years(const QDate &from, const QDate &to);

} // namespace domiva::balance
