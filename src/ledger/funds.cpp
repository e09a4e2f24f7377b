#include "ledger/funds.h"

#include "printing/printouts.h"
#include "store/building.h"
#include "text/bylawstexts.h"
#include "text/dates.h"
#include "text/input.h"
#include "text/texts.h"

#include <QSqlQuery>

namespace domiva::funds {

QList<Fund> all(const db::Store &store) {
  QList<Fund> funds{{0, texts::runningAccount, {}, {}}};
  store.each(QStringLiteral("SELECT id, name, kept, matures FROM funds ORDER BY id"), {}, [&](const QSqlQuery &q) {
    funds << Fund{q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toString(),
                  dates::fromIso(q.value(3).toString())};
  });
  return funds;
}

std::optional<qint64> idOf(const db::Store &store, const QString &name, QString *refusal) {
  for (const Fund &fund : all(store))
    if (fund.name == name.trimmed())
      return fund.id;
  *refusal = texts::fundMissing.arg(name.trimmed());
  return std::nullopt;
}

QString add(const db::Store &store, const QString &nameText, const QString &keptText, const QString &matures) {
  const QString name = nameText.trimmed(), kept = keptText.trimmed();
  if (name.isEmpty())
    return texts::fundNameRequired;
  if (const QString refusal = input::checkTexts({{texts::fundField, name}, {texts::keptField, kept}});
      !refusal.isEmpty())
    return refusal;
  const auto day = dates::parseTyped(matures);
  if (!matures.trimmed().isEmpty() && !day)
    return texts::badMaturity;
  try {
    QString unknown;
    if (idOf(store, name, &unknown))
      return texts::fundNameTaken.arg(name);
    db::Transaction transaction(store);
    store.exec(QStringLiteral("INSERT INTO funds (name, kept, matures) VALUES (?, ?, ?)"),
               {name, kept, day ? QVariant(dates::toIso(*day)) : QVariant()});
    transaction.commit();
  } catch (const db::Error &e) {
    return db::saveFailure(e);
  }
  return {};
}

QString transfer(const db::Store &store, const QDate &date, const QString &from, const QString &to,
                 const QString &amountText, const QString &detail) {
  QString refusal;
  const auto amount = input::nonNegative(amountText, texts::badAmount, texts::negativeTransfer, &refusal);
  if (!amount)
    return refusal;
  if (amount->agorot() == 0)
    return texts::negativeTransfer;
  if (const QString bad = input::checkTexts({{texts::detailField, detail}}); !bad.isEmpty())
    return bad;
  try {
    const auto source = idOf(store, from, &refusal);
    const auto target = source ? idOf(store, to, &refusal) : std::nullopt;
    if (!target)
      return refusal;
    if (*source == *target)
      return texts::sameFund;
    const auto fund = [](qint64 id) { return id ? QVariant(id) : QVariant(); };
    db::Transaction transaction(store);
    store.exec(QStringLiteral("INSERT INTO fund_transfers (inputdate, from_fund, to_fund, amount, detail) "
                              "VALUES (?, ?, ?, ?, ?)"),
               {dates::toIso(date), fund(*source), fund(*target), amount->agorot(), detail.trimmed()});
    transaction.commit();
  } catch (const db::Error &e) {
    return db::saveFailure(e);
  }
  return {};
}

namespace {
struct Sums {
  qint64 in = 0, out = 0, moved = 0;
};
// Each fund's money between two days, both included, cancelled rows left
// out, as the books' period counts it.
QHash<qint64, Sums> between(const db::Store &store, const QDate &from, const QDate &to) {
  QHash<qint64, Sums> sums;
  const QString first = dates::toIso(from), last = dates::toIso(to);
  store.each(
      QStringLiteral(
          "SELECT f, sum(i), sum(o), sum(t) FROM ("
          "SELECT coalesce(l.fund, 0) AS f, p.amount AS i, 0 AS o, 0 AS t FROM incoming p LEFT JOIN levies l "
          "ON l.id = p.levy WHERE p.inputdate BETWEEN ? AND ? AND p.cancelled IS NULL "
          "UNION ALL SELECT coalesce(fund, 0), 0, amount, 0 FROM removals WHERE \"Date\" BETWEEN ? AND ? "
          "AND cancelled IS NULL "
          "UNION ALL SELECT coalesce(to_fund, 0), 0, 0, amount FROM fund_transfers WHERE inputdate BETWEEN ? AND ? "
          "UNION ALL SELECT coalesce(from_fund, 0), 0, 0, -amount FROM fund_transfers WHERE inputdate BETWEEN ? AND ?"
          ") AS m GROUP BY f"),
      {first, last, first, last, first, last, first, last}, [&](const QSqlQuery &q) {
        sums[q.value(0).toLongLong()] = {q.value(1).toLongLong(), q.value(2).toLongLong(), q.value(3).toLongLong()};
      });
  return sums;
}
} // namespace

QList<Balance> balances(const db::Store &store, const QDate &from, const QDate &to) {
  const Building details = building(store);
  QHash<qint64, Sums> before;
  if (details.openDate < from)
    before = between(store, details.openDate, from.addDays(-1));
  const QHash<qint64, Sums> during = between(store, from, to);
  QList<Balance> result;
  for (const Fund &fund : all(store)) {
    const Sums earlier = before.value(fund.id), now = during.value(fund.id);
    result << Balance{fund,
                      Money::fromAgorot(earlier.in - earlier.out + earlier.moved) +
                          (fund.id == 0 ? details.openBalance : Money()),
                      Money::fromAgorot(now.in), Money::fromAgorot(now.out), Money::fromAgorot(now.moved)};
  }
  return result;
}

bool any(const db::Store &store) {
  return store.one(QStringLiteral("SELECT count(*) FROM funds")).value(0).toLongLong() > 0;
}

QStringList headers() {
  return {QStringLiteral("קרן"),       QStringLiteral("היכן מוחזק"), QStringLiteral("יתרת פתיחה"),
          QStringLiteral("הכנסות"),    QStringLiteral("הוצאות"),     QStringLiteral("העברות"),
          QStringLiteral("יתרת סגירה")};
}

QList<QVariantList> rows(const QList<Balance> &balances) {
  QList<QVariantList> shown;
  Balance sum;
  sum.fund.name = texts::checkTotal;
  for (const Balance &b : balances) {
    QString kept = b.fund.kept;
    if (b.fund.matures.isValid())
      kept = texts::deposit.arg(kept, dates::toShort(b.fund.matures)).trimmed();
    shown << QVariantList{b.fund.name,        kept,
                          b.opening.agorot(), b.in.agorot(),
                          b.out.agorot(),     b.moved.agorot(),
                          b.closing().agorot()};
    sum.opening += b.opening;
    sum.in += b.in;
    sum.out += b.out;
    sum.moved += b.moved;
  }
  shown << QVariantList{sum.fund.name,    QString(),          sum.opening.agorot(), sum.in.agorot(),
                        sum.out.agorot(), sum.moved.agorot(), sum.closing().agorot()};
  return shown;
}

listing::Printout printout(const db::Store &store, const QDate &from, const QDate &to) {
  QList<QStringList> lines;
  for (const QVariantList &row : rows(balances(store, from, to))) {
    QStringList cells{row[0].toString(), row[1].toString()};
    for (int column = 2; column < row.size(); ++column)
      cells << Money::fromAgorot(row[column].toLongLong()).toPaper();
    lines << cells;
  }
  QList<listing::Column> columns;
  for (const QString &header : headers())
    columns << listing::Column{header, columns.size() < 2 ? 2 : 1}; // the names wider than the amounts
  return listing::fromRows(
      listing::section(texts::fundsTitle.arg(dates::toShort(from), dates::toShort(to)), columns), lines);
}

} // namespace domiva::funds
