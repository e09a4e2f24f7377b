#include "levies/levy.h"

#include "ledger/funds.h"
#include "ledger/levies.h"
#include "ledger/shares.h"
#include "printing/printouts.h"
#include "residents/residents.h"
#include "store/building.h"
#include "store/database.h"
#include "text/dates.h"
#include "text/input.h"
#include "text/texts.h"

#include <QSqlQuery>

namespace domiva::levies {
namespace {
// A levy's amount for an apartment, or the refusal.
std::optional<Money> chargeAmount(const QString &text, QString *refusal) {
  return input::nonNegative(text, texts::badAmount, texts::negativeLevy, refusal);
}
} // namespace

QString define(const db::Store &store, const LevyInput &input) {
  const QString name = input.name.trimmed();
  if (name.isEmpty())
    return texts::levyNameRequired;
  if (name == texts::houseCommittee || name == texts::other || name == texts::openingDebt)
    return texts::levyNameTaken.arg(name);
  if (const QString refusal = input::checkTexts({{texts::levyNameField, name}}); !refusal.isEmpty())
    return refusal;
  QString refusal;
  const auto amount = chargeAmount(input.amount, &refusal);
  if (!amount)
    return refusal;
  bool ok = false;
  const int instalments = input.instalments.trimmed().toInt(&ok);
  if (!ok || instalments < 1 || instalments > 120)
    return texts::badInstalments;
  try {
    db::Transaction transaction(store);
    if (store.one(QStringLiteral("SELECT count(*) FROM levies WHERE name = ?"), {name}).value(0).toLongLong() > 0)
      return texts::levyNameTaken.arg(name);
    const auto fund = input.fund.trimmed().isEmpty() ? 0 : funds::idOf(store, input.fund, &refusal);
    if (!fund)
      return refusal;
    QList<qint64> apartments;
    if (const qint64 count = building(store).apartments; count > 0)
      for (qint64 apartment = 1; apartment <= count; ++apartment)
        apartments << apartment;
    else
      store.each(QStringLiteral("SELECT apartment FROM neighbors ORDER BY apartment"), {},
                 [&](const QSqlQuery &rows) { apartments << rows.value(0).toLongLong(); });
    QList<qint64> charged(apartments.size(), amount->agorot()), weights;
    if (input.byShares) {
      const auto split = shares::byShares(store, apartments, amount->agorot(), &refusal);
      if (!split)
        return refusal;
      weights = split->shares;
      charged = split->parts;
    }
    const qint64 levy =
        store
            .exec(QStringLiteral("INSERT INTO levies (name, first_due, instalments, split, total, fund) "
                                 "VALUES (?, ?, ?, ?, ?, ?)"),
                  {name, dates::toIso(input.firstDue), instalments,
                   input.byShares ? QStringLiteral("share") : QStringLiteral("equal"),
                   input.byShares ? QVariant(amount->agorot()) : QVariant(), *fund ? QVariant(*fund) : QVariant()})
            .lastInsertId()
            .toLongLong();
    for (int i = 0; i < apartments.size(); ++i)
      store.exec(QStringLiteral("INSERT INTO levy_charges (levy, apartment, amount, share) VALUES (?, ?, ?, ?)"),
                 {levy, apartments[i], charged[i], input.byShares ? QVariant(weights[i]) : QVariant()});
    transaction.commit();
  } catch (const db::Error &e) {
    return db::saveFailure(e);
  }
  return {};
}

QString setCharge(const db::Store &store, qint64 levy, const QString &apartmentText, const QString &amountText) {
  QString refusal;
  const auto apartment = residents::apartmentOf(store, apartmentText, &refusal);
  if (!apartment)
    return refusal;
  const auto amount = chargeAmount(amountText, &refusal);
  if (!amount)
    return refusal;
  try {
    db::Transaction transaction(store);
    store.exec(QStringLiteral("DELETE FROM levy_charges WHERE levy = ? AND apartment = ?"), {levy, *apartment});
    store.exec(QStringLiteral("INSERT INTO levy_charges (levy, apartment, amount) SELECT id, ?, ? FROM levies "
                              "WHERE id = ?"),
               {*apartment, amount->agorot(), levy});
    transaction.commit();
  } catch (const db::Error &e) {
    return db::saveFailure(e);
  }
  return {};
}

QString remove(const db::Store &store, qint64 levy) {
  try {
    db::Transaction transaction(store);
    if (store.one(QStringLiteral("SELECT count(*) FROM incoming WHERE levy = ?"), {levy}).value(0).toLongLong() > 0)
      return texts::levyHasPayments;
    store.exec(QStringLiteral("DELETE FROM levy_charges WHERE levy = ?"), {levy});
    store.exec(QStringLiteral("DELETE FROM levies WHERE id = ?"), {levy});
    transaction.commit();
  } catch (const db::Error &e) {
    return db::saveFailure(e);
  }
  return {};
}

QList<QVariantList> listRows(const db::Store &store) {
  const QHash<qint64, Charge> sums = totals(store);
  QList<QVariantList> rows;
  for (const Levy &levy : all(store)) {
    const Charge sum = sums.value(levy.id);
    rows << QVariantList{levy.id,          levy.name,           dates::toIso(levy.firstDue),
                         levy.instalments, sum.amount.agorot(), sum.paid.agorot()};
  }
  return rows;
}

QStringList listHeaders() {
  return {QStringLiteral("מספר"),    QStringLiteral("היטל"),      QStringLiteral("מועד ראשון"),
          QStringLiteral("תשלומים"), QStringLiteral("חיוב כולל"), QStringLiteral("שולם")};
}

QList<QVariantList> chargeRows(const db::Store &store, qint64 levy) {
  const std::map<qint64, qint64> known = shares::read(store);
  QList<QVariantList> rows;
  for (const Charge &charge : charges(store))
    if (charge.levy == levy) {
      const auto share = known.find(charge.apartment);
      rows << QVariantList{charge.apartment, share == known.end() ? QString() : shares::toText(share->second),
                           charge.amount.agorot(), charge.paid.agorot()};
    }
  return rows;
}

QStringList chargeHeaders() {
  return {QStringLiteral("דירה"), QStringLiteral("חלק"), QStringLiteral("חיוב"), QStringLiteral("שולם")};
}

listing::Printout printout(const db::Store &store, qint64 levy) {
  const QSqlQuery chosen =
      store.one(QStringLiteral("SELECT name, first_due, instalments, split, total FROM levies WHERE id = ?"), {levy});
  std::map<qint64, qint64> split; // the share each charge was worked from
  qint64 sumOfShares = 0;
  store.each(QStringLiteral("SELECT apartment, share FROM levy_charges WHERE levy = ? AND share IS NOT NULL"), {levy},
             [&](const QSqlQuery &rows) {
               split[rows.value(0).toLongLong()] = rows.value(1).toLongLong();
               sumOfShares += rows.value(1).toLongLong();
             });
  listing::Layout layout;
  layout.title = texts::levyLine.arg(chosen.value(0).toString());
  layout.intro << texts::levyDueLine.arg(dates::toShort(dates::fromIso(chosen.value(1).toString())))
                      .arg(chosen.value(2).toLongLong());
  layout.intro << (chosen.value(3).toString() == QLatin1String("share")
                       ? texts::levyShareRule.arg(Money::fromAgorot(chosen.value(4).toLongLong()).toPaper(),
                                                  shares::toText(sumOfShares))
                       : texts::levyEqualRule);
  for (const char *header : {"דירה", "חלק", "חיוב", "שולם"})
    layout.columns << listing::Column{QString::fromUtf8(header), 1};
  QList<QStringList> lines;
  Money charged, paid;
  for (const Charge &charge : charges(store))
    if (charge.levy == levy) {
      const auto share = split.find(charge.apartment);
      lines << QStringList{QString::number(charge.apartment),
                           share == split.end() ? QString() : shares::toText(share->second),
                           charge.amount.toPaper(), charge.paid.toPaper()};
      charged += charge.amount;
      paid += charge.paid;
    }
  lines << QStringList{QStringLiteral("סה\"כ"), QString(), charged.toPaper(), paid.toPaper()};
  return listing::fromRows(layout, lines);
}

} // namespace domiva::levies
