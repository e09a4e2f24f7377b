#pragma once
// Which apartment a bank line is from, learned from the treasurer's own
// choices: the payer's account where the line shows it, else the payer's
// name as the bank writes it, else "דירה N" in its words.
#include "store/database.h"
#include "text/money.h"

#include <QList>
#include <QString>

namespace domiva::bank {

// The payer as the line's words tell it: "חשבון 12-345-678901", "שם כהן
// משה", or empty when they name neither.
QString payer(const QString &words);
// The apartment "דירה N" in the words names; 0 when none.
qint64 apartmentNamed(const QString &words);

// The apartments proposed for line `line`, and whether the proposal is sure
// (its payer was matched to one apartment before). Throws db::Error.
struct Proposal {
  QList<qint64> apartments;
  bool sure = false;
};
Proposal propose(const db::Store &store, qint64 line);

// Inside the caller's transaction, before it writes: a refusal when
// `amount` may not be recorded from line `line` as a row of `table`
// ("incoming" or "removals"): the line is of the other side, or what it
// holds is recorded already. Throws db::Error.
QString check(const db::Store &store, qint64 line, const QString &table, Money amount);
// Then, once written: that `amount` of the line is row `reciept` of
// `table`; a payment's payer is learned as paying for `apartment`.
void link(const db::Store &store, qint64 line, const QString &table, qint64 reciept, Money amount,
          qint64 apartment = 0);

} // namespace domiva::bank
