#include "levies/levy.h"

#include "ledger/levies.h"
#include "residents/residents.h"
#include "store/building.h"
#include "store/database.h"
#include "text/dates.h"
#include "text/input.h"
#include "text/texts.h"

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
    const qint64 levy = store
                            .exec(QStringLiteral("INSERT INTO levies (name, first_due, instalments) VALUES (?, ?, ?)"),
                                  {name, dates::toIso(input.firstDue), instalments})
                            .lastInsertId()
                            .toLongLong();
    if (const qint64 apartments = building(store).apartments; apartments > 0)
      store.exec(QStringLiteral("WITH RECURSIVE n(a) AS (SELECT 1 UNION ALL SELECT a + 1 FROM n WHERE a < ?) "
                                "INSERT INTO levy_charges (levy, apartment, amount) SELECT ?, a, ? FROM n"),
                 {apartments, levy, amount->agorot()});
    else
      store.exec(QStringLiteral("INSERT INTO levy_charges (levy, apartment, amount) SELECT ?, apartment, ? "
                                "FROM neighbors"),
                 {levy, amount->agorot()});
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
  QList<QVariantList> rows;
  for (const Charge &charge : charges(store))
    if (charge.levy == levy)
      rows << QVariantList{charge.apartment, charge.amount.agorot(), charge.paid.agorot()};
  return rows;
}

QStringList chargeHeaders() { return {QStringLiteral("דירה"), QStringLiteral("חיוב"), QStringLiteral("שולם")}; }

} // namespace domiva::levies
