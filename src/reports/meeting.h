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
// category with each one's share, the levies, and the period's payments.
// Debtors' names are the committee's: the residents' names are printed only
// `names` asked for. Throws db::Error when it cannot be read.
// With funds kept, their opening, in, out and closing follow the expenses.
listing::Printout printout(const db::Store &store, const QDate &from, const QDate &to, bool names);
// The bylaws' six-monthly report: the same paper for the half-year `day`
// falls in (January to June, or July to December), the funds always.
listing::Printout halfYear(const db::Store &store, const QDate &day, bool names);
// The period's payments: each apartment, what the payments made by the
// period's end credit to each of its months (its last twelve), their total,
// and the apartment's debt as at its end; then the totals.
listing::Printout payments(const db::Store &store, const QDate &from, const QDate &to, bool names);

} // namespace domiva::meeting
