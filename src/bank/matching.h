#pragma once
// Which apartment a bank line is from, learned from the treasurer's own
// choices: the payer's account where the line shows it, else the payer's
// name as the bank writes it, else "דירה N" in its words.
#include "store/database.h"
#include "text/money.h"

#include <QDate>
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

// What a credit of `amount` from `apartment` on `date` is proposed to pay:
// the oldest months of the year not paid in full, as many as it covers at
// their dues; else a levy's instalments due; else the opening debt; else
// the months from the next one on. Throws db::Error.
struct Purpose {
  QString forText, fromMonth, toMonth, year; // as the payments window holds them
};
Purpose purposeFor(const db::Store &store, qint64 apartment, Money amount, const QDate &date);

// The expense a debit is proposed as: its words' last category and
// supplier, else bank fees for a bank's fee; nothing when neither. Throws db::Error.
struct Spending {
  QString category, supplier;
  bool learned = false; // from an earlier choice: sure
};
Spending spendingFor(const db::Store &store, qint64 line);
// Inside the caller's transaction: the debit's words are spent on `spending` from now on.
void learnSpending(const db::Store &store, qint64 line, const Spending &spending);

// Inside the caller's transaction, before it writes: a refusal when
// `amount` may not be recorded from line `line` as a row of `table`
// ("incoming" or "removals"): the line is of the other side, set aside, or
// what it holds is recorded already. Throws db::Error.
QString check(const db::Store &store, qint64 line, const QString &table, Money amount);
// Then, once written: that `amount` of the line is row `reciept` of
// `table`; a payment's payer is learned as paying for `apartment`.
void link(const db::Store &store, qint64 line, const QString &table, qint64 reciept, Money amount,
          qint64 apartment = 0);

// The lines kept, by date, each with what of it is recorded and what is
// proposed for it; `sure` when the proposal needs no choice of the
// treasurer's, `done` when the whole line is recorded. Throws db::Error.
struct Review {
  qint64 line = 0;
  QDate date;
  QString description, details, reference;
  Money amount, recorded;
  Proposal payer;    // a credit's
  Spending spending; // a debit's
  QString aside;     // why the treasurer set it aside; empty when not
  bool done() const { return recorded.agorot() >= std::abs(amount.agorot()); }
  bool waiting() const { return !done() && aside.isEmpty(); }
  bool sure() const { return waiting() && (amount.agorot() > 0 ? payer.sure : spending.learned); }
  Money left() const { return Money::fromAgorot(std::abs(amount.agorot()) - recorded.agorot()); }
};
QList<Review> review(const db::Store &store);

// Sets line `line` aside for `reason` (a transfer between the committee's
// own accounts, a bank's error and its correction), or with an empty reason
// back to waiting. Throws db::Error.
void setAside(const db::Store &store, qint64 line, const QString &reason);

// The method a line was paid by, as the payments and expenses store it.
QString methodOf(const Review &line);

} // namespace domiva::bank
