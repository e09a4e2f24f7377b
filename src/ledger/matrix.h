#pragma once
#include "text/money.h"

#include <array>
#include <optional>

namespace domiva::matrix {

// The twelve month cells of one anual_report row; a month no payment has
// credited stays empty (NULL).
using Cells = std::array<std::optional<qint64>, 12>;

// Adds one payment to the cells: its amount in equal whole-shekel shares
// (halves to even) over months first..last, each added to what the month holds.
void credit(Cells &cells, int first, int last, Money amount);
qint64 total(const Cells &cells);

// The cells of an apartment's year as its payments that are not cancelled
// credit them.
Cells fromPayments(qint64 apartment, int year);

// Rewrites the apartment's row of `year` from its payments, creating it
// (with the resident's name) when there is none. The row keeps the yearly
// dues it was made with (total + depth); a new row owes 12 × `monthlyPay`.
// Runs in the caller's transaction.
void rebuild(qint64 apartment, int year, qint64 monthlyPay);

} // namespace domiva::matrix
