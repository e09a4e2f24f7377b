#pragma once
// Who owes: each apartment's dues up to a date against what the matrix
// credits it, and one apartment's payments and years.
#include "text/money.h"

#include <QDate>
#include <QString>

namespace domiva::owing {

// The debtors as at `date`, for the grid (amounts in agorot, headers from
// the aliases), by apartment: every apartment with a resident or a matrix
// row of the date's year, its months due (January to the date's month),
// what they come to at the dues its matrix row was made with (else at
// `monthlyPay` shekels a month), what the matrix credits to them, the
// arrears, the months not paid in full, and the positive debts of its
// earlier years. Unless `everyone`, only those who owe something.
QString debtorsQuery(const QDate &date, qint64 monthlyPay, bool everyone);
inline constexpr int debtorsMoney[] = {3, 4, 5, 7};

struct Summary {
  qint64 debtors = 0; // apartments owing this year or from earlier ones
  Money arrears;      // of the year, up to the date
  Money earlier;      // from earlier years
};
// Throws db::Error when it cannot be read.
Summary summary(const QDate &date, qint64 monthlyPay);

// One apartment's payments (bound: the apartment), for a keyed grid: the
// receipt column is the key, the cancellation the status.
QString paymentsQuery();
inline constexpr int paymentsDate = 0, paymentsAmount = 7, paymentsReciept = 8, paymentsStatus = 9;
// One apartment's years (bound: the apartment): credited, due and the
// balance, in agorot.
QString yearsQuery();
inline constexpr int yearsMoney[] = {1, 2, 3};

} // namespace domiva::owing
