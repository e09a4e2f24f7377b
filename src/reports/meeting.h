#pragma once
#include "ledger/owing.h"
#include "printing/listwriter.h"
#include "text/money.h"

#include <QDate>

namespace domiva::meeting {

// The figures of a period as the general meeting hears them.
struct Figures {
  Money opening; // as at the period's start: the building's opening balance carried forward
  Money income;  // of the period, cancelled rows left out
  Money expenses;
  Money result() const { return income - expenses; }
  Money closing() const { return opening + result(); }
  owing::Summary debtors; // as at the period's end
};
// Throws db::Error when they cannot be read.
Figures figures(const QDate &from, const QDate &to);

// The report: the figures, the income by purpose, the expenses by
// category with each one's share, and the payments matrix of the period's
// last year with its totals. Throws db::Error when it cannot be read.
listing::Printout printout(const QDate &from, const QDate &to);

} // namespace domiva::meeting
