#pragma once
// Levies: charges apart from the dues (an elevator, a roof), each due in
// one or more monthly instalments.
#include "store/database.h"
#include "text/money.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <optional>

namespace domiva::levies {

struct Levy {
  qint64 id = 0;
  QString name;
  QDate firstDue;
  int instalments = 1;
};

// Every levy, by its first due date. Throws db::Error.
QList<Levy> all(const db::Store &store);
// The same, by id.
QHash<qint64, Levy> byId(const db::Store &store);

// What of `amount` is due by `date`: the instalments whose day has come,
// each an equal part in agorot, the remainder in the last.
Money dueBy(const Levy &levy, Money amount, const QDate &date);

// Each levy's charge to an apartment, and what was paid for it.
struct Charge {
  qint64 levy = 0;
  qint64 apartment = 0;
  Money amount;
  Money paid; // payments for the levy not cancelled
};
// Every charge, or one apartment's, with what was paid by `paidBy` (or at
// any time). Throws db::Error.
QList<Charge> charges(const db::Store &store, std::optional<qint64> apartment = std::nullopt, const QDate &paidBy = {});
// Each levy's charges summed: what it charges in all, and what was paid of
// it by `paidBy` (or at any time), by levy id. Throws db::Error.
QHash<qint64, Charge> totals(const db::Store &store, const QDate &paidBy = {});

} // namespace domiva::levies
