#pragma once
#include "printing/listwriter.h"
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

struct Totals {
  Money income;
  Money expenses;
};
Totals totals(const QDate &from, const QDate &to);

// The printed balance over the journal of the period: one line per `for`
// and type, the period shown in the header and `result` in the footer, and
// below it the opening balance and the balance at the period's end, as the
// window shows them. Its rowCount is 0 when the period has no journal row.
listing::Printout printout(const QDate &from, const QDate &to, Money result, Money opening);

} // namespace domiva::balance
