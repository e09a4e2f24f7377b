#include "ledger/matrix.h"

#include "store/database.h"
#include "text/dates.h"
#include "text/months.h"

#include <QHash>
#include <QSet>

#include <map>

namespace domiva::matrix {

const QString crediting = QStringLiteral("cancelled IS NULL AND levy IS NULL AND year IS NOT NULL");

namespace {

QString monthColumns() { return months::columns().join(QLatin1Char(',')); }

QVariantList rowValues(const Cells &cells, qint64 dues) {
  QVariantList values;
  for (const auto &cell : cells)
    values << (cell ? QVariant(*cell) : QVariant());
  values << total(cells) << dues - total(cells);
  return values;
}

void write(const db::Store &store, qint64 apartment, int year, const Cells &cells, const ledger::Dues &dues) {
  const QVariantList values = rowValues(cells, dues.ofYear(apartment, year).agorot());
  const QString places = QStringLiteral("?,").repeated(13) + QLatin1Char('?');
  auto updated =
      store.exec(QStringLiteral("UPDATE anual_report SET (%1, total, depth) = (%2) WHERE apartment = ? AND year = ?")
                     .arg(monthColumns(), places),
                 values + QVariantList{apartment, year});
  if (updated.numRowsAffected() > 0)
    return;
  store.exec(QStringLiteral("INSERT INTO anual_report (apartment, family, year, %1, total, depth) "
                            "VALUES (?, coalesce((SELECT family FROM neighbors WHERE apartment = ?), ''), ?, %2)")
                 .arg(monthColumns(), places),
             QVariantList{apartment, apartment, year} + values);
}
} // namespace

Cells withinBooks(Cells cells, int year, const ledger::Dues &dues) {
  for (int m = 0; m < 12; ++m)
    if (ledger::monthIndex(year, m + 1) < dues.start())
      cells[m].reset();
  return cells;
}

void credit(Cells &cells, int first, int last, Money amount, const Weights &weights) {
  if (first < 0 || last > 11 || first > last)
    return;
  qint64 sum = 0;
  bool positive = true;
  for (int m = first; m <= last; ++m) {
    sum += weights[m];
    positive = positive && weights[m] > 0;
  }
  const qint64 whole = amount.agorot();
  qint64 given = 0;
  for (int m = first; m <= last; ++m) {
    // Truncated shares; what they leave over goes to the last month.
    const qint64 share = m == last ? whole - given : positive ? whole * weights[m] / sum : whole / (last - first + 1);
    given += share;
    cells[m] = cells[m].value_or(0) + share;
  }
}

qint64 total(const Cells &cells) {
  qint64 sum = 0;
  for (const auto &cell : cells)
    sum += cell.value_or(0);
  return sum;
}

Weights weights(const ledger::Dues &dues, qint64 apartment, int year, const QDateTime &recorded) {
  Weights w{};
  for (int m = 0; m < 12; ++m)
    w[m] = dues.inForce(apartment, ledger::monthIndex(year, m + 1), recorded).agorot();
  return w;
}

Cells fromPayments(const db::Store &store, qint64 apartment, int year, const ledger::Dues &dues) {
  Cells cells;
  store.each(QStringLiteral("SELECT from_month, to_month, amount, recorded FROM incoming "
                            "WHERE apartment = ? AND year = ? AND %1")
                 .arg(crediting),
             {apartment, year}, [&](const QSqlQuery &payments) {
               credit(cells, months::indexOfListName(payments.value(0).toString()),
                      months::indexOfListName(payments.value(1).toString()),
                      Money::fromAgorot(payments.value(2).toLongLong()),
                      weights(dues, apartment, year, dates::momentFromIso(payments.value(3).toString())));
             });
  return withinBooks(cells, year, dues);
}

void rebuild(const db::Store &store, qint64 apartment, int year, const ledger::Dues &dues) {
  write(store, apartment, year, fromPayments(store, apartment, year, dues), dues);
}

Credited credited(const db::Store &store, const ledger::Dues &dues, const QDate &paidBy) {
  // Thirty years hold tens of thousands of payments and a few sets of weights.
  QHash<std::pair<qint64, qint64>, Weights> known;
  const auto weightsOf = [&](qint64 apartment, int year, const QDateTime &recorded) -> const Weights & {
    const std::pair<qint64, qint64> key{dues.hasOwn(apartment) ? apartment : 0,
                                        qint64(year) * 1'000'000 + dues.knownBy(recorded)};
    auto found = known.find(key);
    if (found == known.end())
      found = known.insert(key, weights(dues, apartment, year, recorded));
    return *found;
  };
  // Credits to `into` the payments `where` finds.
  const auto add = [&](const QString &where, const QVariantList &values, Credited &into) {
    store.each(QStringLiteral("SELECT apartment, year, from_month, to_month, amount, recorded FROM incoming "
                              "WHERE %1 AND %2")
                   .arg(crediting, where),
               values, [&](const QSqlQuery &payments) {
                 const std::pair<qint64, int> key{payments.value(0).toLongLong(), payments.value(1).toInt()};
                 credit(into[key], months::indexOfListName(payments.value(2).toString()),
                        months::indexOfListName(payments.value(3).toString()),
                        Money::fromAgorot(payments.value(4).toLongLong()),
                        weightsOf(key.first, key.second, dates::momentFromIso(payments.value(5).toString())));
               });
  };
  Credited years;
  if (!paidBy.isValid()) {
    add(QStringLiteral("1 = 1"), {}, years);
    return years;
  }
  // The stored matrix holds what every payment credits the books' years
  // after the first (each write keeps it so). The first year and those
  // before it, whose months before the books' start it leaves empty, and
  // any year paid into after the date, come from their payments by then.
  const int first = dues.start() / 12;
  const QString by = dates::toIso(paidBy);
  QSet<int> paidAfter;
  // Few are paid after the date: found by their date, not their year.
  store.each(QStringLiteral("SELECT year FROM incoming WHERE cancelled IS NULL AND levy IS NULL AND +year > ? AND "
                            "inputdate > ?"),
             {first, by}, [&](const QSqlQuery &later) { paidAfter.insert(later.value(0).toInt()); });
  add(QStringLiteral("year <= ? AND inputdate <= ?"), {first, by}, years);
  for (const int year : std::as_const(paidAfter))
    add(QStringLiteral("year = ? AND inputdate <= ?"), {year, by}, years);
  store.each(QStringLiteral("SELECT apartment, year, %1 FROM anual_report WHERE year > ?").arg(monthColumns()), {first},
             [&](const QSqlQuery &stored) {
               if (paidAfter.contains(stored.value(1).toInt()))
                 return;
               Cells &cells = years[{stored.value(0).toLongLong(), stored.value(1).toInt()}];
               for (int m = 0; m < 12; ++m)
                 if (!stored.isNull(2 + m))
                   cells[m] = stored.value(2 + m).toLongLong();
             });
  return years;
}

void rebuildAll(const db::Store &store, const ledger::Dues &dues) {
  using Key = std::pair<qint64, int>;
  std::map<Key, std::pair<Cells, QVariantList>> rows; // as made from the payments, and as stored
  for (const auto &[key, cells] : credited(store, dues))
    rows[key].first = withinBooks(cells, key.second, dues);
  store.each(QStringLiteral("SELECT apartment, year, %1, total, depth FROM anual_report").arg(monthColumns()), {},
             [&](const QSqlQuery &stored) {
               QVariantList values;
               for (int c = 2; c < 16; ++c)
                 values << stored.value(c);
               rows[{stored.value(0).toLongLong(), stored.value(1).toInt()}].second = values;
             });
  for (const auto &[key, row] : rows) {
    const QVariantList wanted = rowValues(row.first, dues.ofYear(key.first, key.second).agorot());
    bool same = row.second.size() == wanted.size();
    for (int c = 0; same && c < wanted.size(); ++c)
      same = row.second[c].isNull() == wanted[c].isNull() && row.second[c].toLongLong() == wanted[c].toLongLong();
    if (!same)
      write(store, key.first, key.second, row.first, dues);
  }
}

} // namespace domiva::matrix
