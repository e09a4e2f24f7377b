#pragma once
#include "ledger/dues.h"
#include "store/database.h"
#include "text/money.h"

#include <QString>

#include <array>
#include <map>
#include <optional>

namespace domiva::matrix {

// The twelve month cells of one anual_report row, in agorot; a month no
// payment has credited stays empty (NULL).
using Cells = std::array<std::optional<qint64>, 12>;

// The condition on incoming of the payments that credit the months: not
// cancelled, not a levy's nor the opening debt's (which have no year).
extern const QString crediting;

// Each month's weight in a payment's shares: the dues in force then.
using Weights = std::array<qint64, 12>;

// Adds one payment to the cells over months first..last: each month's
// share follows its weight (equal when the weights are, or when they are
// not all positive), in agorot, the remainder going to the last month, so
// the shares always sum to the amount.
void credit(Cells &cells, int first, int last, Money amount, const Weights &weights);
qint64 total(const Cells &cells);

// The weights of an apartment's year for a payment recorded at
// `recorded`: the dues as the schedule stood then.
Weights weights(const ledger::Dues &dues, qint64 apartment, int year, const QDateTime &recorded = {});
// The cells of `year` before the books' start emptied: what paid those
// months paid the opening debt; the matrix holds the books' months alone.
Cells withinBooks(Cells cells, int year, const ledger::Dues &dues);

// The cells of an apartment's year as its payments that are not cancelled
// (levy payments aside) credit them, each weighed as the dues stood when it
// was recorded; months before the books' start are the opening debt's, not
// the matrix's.
Cells fromPayments(const db::Store &store, qint64 apartment, int year, const ledger::Dues &dues);

// Every apartment's years as its payments credit them, months before the
// books' start too, counting only payments dated by `paidBy` when given.
// Without a date it is read from the payments alone, to rebuild the stored
// matrix by; with one, from the stored matrix, less what was paid after it.
using Credited = std::map<std::pair<qint64, int>, Cells>; // (apartment, year) → cells
Credited credited(const db::Store &store, const ledger::Dues &dues, const QDate &paidBy = {});

// Rewrites the apartment's row of `year` from its payments and the dues
// (depth: the year's dues less its total), creating the row (with the
// resident's name) when there is none. Runs in the caller's transaction.
void rebuild(const db::Store &store, qint64 apartment, int year, const ledger::Dues &dues);

// Rewrites every row whose cells or debt differ from what the payments and
// `dues` make of it. Runs in the caller's transaction.
void rebuildAll(const db::Store &store, const ledger::Dues &dues);

} // namespace domiva::matrix
