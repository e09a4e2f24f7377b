#pragma once
// The books against the bank on a day the statement covers: each side's
// balance, and the lines each has that the other lacks, which explain the
// difference when the books opened where the bank stood.
#include "printing/listwriter.h"
#include "store/database.h"
#include "text/money.h"

#include <QDate>
#include <QList>
#include <QStringList>
#include <optional>

namespace domiva::bank {

struct Reconciliation {
  QDate date;
  std::optional<Money> bank; // after the bank's last line by the date, when the bank gives its balance
  Money books;               // the opening balance with all that came in and went out by the date
  // Date, words, amount (a credit or income positive), each side's own.
  QList<QStringList> bankOnly, booksOnly;
  Money bankOnlySum, booksOnlySum;
  // What the lines do not explain: 0 when the books and the bank agree.
  std::optional<Money> unexplained() const {
    if (!bank)
      return std::nullopt;
    return (*bank - books) - (bankOnlySum - booksOnlySum);
  }
};

// The rows of the books counted are those from the statements' first day.
// Throws db::Error.
Reconciliation reconcile(const db::Store &store, const QDate &date);

// The paper "התאמת בנק".
listing::Printout printout(const Reconciliation &reconciliation);

} // namespace domiva::bank
