#pragma once
#include "ledger/owing.h"
#include "ledger/period.h"
#include "printing/listwriter.h"
#include "store/database.h"
#include "text/money.h"

#include <QDate>

namespace domiva::meeting {

// The figures of a period as the general meeting hears them: its money
// (the balance window's), and who owes as at its end.
struct Figures : ledger::Period {
  owing::Summary debtors;
};
// Throws db::Error when they cannot be read.
Figures figures(const db::Store &store, const QDate &from, const QDate &to);

// The report: the figures, the income by purpose, the expenses by
// category with each one's share, and the payments matrix of the period's
// last year with its totals. Throws db::Error when it cannot be read.
listing::Printout printout(const db::Store &store, const QDate &from, const QDate &to);

} // namespace domiva::meeting
