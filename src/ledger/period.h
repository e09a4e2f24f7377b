#pragma once
// The money of a period: what it opens with, what came in and went out in
// it, and what it closes with. One computation, for the balance window, its
// printout and the general-meeting report alike.
#include "store/database.h"
#include "text/money.h"

#include <QDate>

namespace domiva::ledger {

struct Period {
  // The building's opening balance, and all that came in and went out from
  // the opening date to the day before the period (cancelled rows left out).
  Money opening;
  // In the period, first and last day included, cancelled rows left out.
  Money income;
  Money expenses;
  Money result() const { return income - expenses; }
  Money closing() const { return opening + result(); }
};

// The period from `from` to `to` as the building's details stand. Throws
// db::Error when it cannot be read.
Period period(const db::Store &store, const QDate &from, const QDate &to);

// The day the period's opening balance stands at: the period's first day,
// or the books' opening date when the period starts before it.
QDate openingDay(const db::Store &store, const QDate &from);

} // namespace domiva::ledger
