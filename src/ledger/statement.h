#pragma once
// An apartment's statement ("דף חשבון"): every charge (each month's dues,
// each levy instalment, the opening debt) and every payment by date, with a
// running balance, and what is owed at the end split by how long it has
// been owed. Read from the same books as who owes, so its closing balance is
// who owes' debt less its credit.
#include "printing/listwriter.h"
#include "store/database.h"
#include "text/money.h"

#include <QDate>
#include <QList>
#include <QString>
#include <array>

namespace domiva::statements {

struct Line {
  QDate date;
  QString text;
  Money charge;
  Money payment;
  Money balance; // after this line: a debt positive, a credit negative
  bool dues = false; // a month's dues, not a levy's instalment or the opening debt
};

// The debt's ages in days: up to 30, 31 to 90, 91 to 180, and beyond.
inline constexpr int agingBounds[] = {30, 90, 180};
using Aged = std::array<Money, 4>;

struct Sheet {
  qint64 apartment = 0;
  QString family; // its resident's name; empty when it has none
  QDate asAt;
  QList<Line> lines;
  // The charges not yet met at the end, payments meeting the oldest first:
  // each with what is left of it as its charge.
  QList<Line> unpaid;
  Aged aged; // those by age
  Money balance() const { return lines.isEmpty() ? Money() : lines.last().balance; }
};

// The sheets of `apartments` as at `asAt`: charges falling due by then
// and payments dated by then, not cancelled. Throws db::Error.
QList<Sheet> sheets(const db::Store &store, const QDate &asAt, const QList<qint64> &apartments);
// The sheets of every apartment who owes lists as owing at `asAt`. Throws db::Error.
QList<Sheet> ofDebtors(const db::Store &store, const QDate &asAt);

// The sheets on paper, each from a page of its own: its lines, then its
// debt by age.
listing::Printout printout(const QList<Sheet> &sheets);

} // namespace domiva::statements
