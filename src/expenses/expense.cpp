#include "expenses/expense.h"

#include "bank/matching.h"
#include "ledger/funds.h"
#include "store/database.h"
#include "store/journal.h"
#include "text/dates.h"
#include "text/input.h"
#include "text/money.h"
#include "text/texts.h"

namespace domiva::expenses {
namespace {
QStringList firstColumn(const db::Store &store, const QString &sql) {
  QStringList names;
  store.each(sql, {}, [&](const QSqlQuery &query) { names << query.value(0).toString(); });
  return names;
}
} // namespace

QString listQuery() {
  return QStringLiteral("select category as סוג_הוצאה,\"Date\" as תאריך,payby as אופן_התשלום,detail as פירוט,"
                        "supplyer as ספק,amount as סכום,"
                        "CASE WHEN cancelled IS NULL THEN '' ELSE 'מבוטל: ' || cancel_reason END as ביטול,"
                        "reciept as קבלה from removals");
}

Outcome record(const db::Store &store, const ExpenseInput &input) {
  if (input.category.trimmed().isEmpty())
    return {texts::categoryRequired, Field::Category};
  const auto amount = input::amount(input.amount);
  if (!amount)
    return {input::amountRefusal(input.amount), Field::Amount};
  if (amount->agorot() == 0)
    return {texts::zeroExpense, Field::Amount};
  if (const QString refusal = input::checkTexts({{texts::categoryField, input.category},
                                                 {texts::paybyField, input.payby},
                                                 {texts::detailField, input.detail},
                                                 {texts::supplierField, input.supplier}});
      !refusal.isEmpty())
    return {refusal};
  try {
    const QString date = dates::toIso(input.date);
    db::Transaction transaction(store);
    if (input.bankLine)
      if (const QString refusal = bank::check(store, input.bankLine, QStringLiteral("removals"), *amount);
          !refusal.isEmpty())
        return {refusal, Field::Amount};
    QString refusal;
    const auto fund = input.fund.trimmed().isEmpty() ? 0 : funds::idOf(store, input.fund, &refusal);
    if (!fund)
      return {refusal};
    const auto inserted = store.exec(
        QStringLiteral("INSERT INTO removals (category, \"Date\", payby, detail, supplyer, amount, fund) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?)"),
        {input.category, date, input.payby, input.detail, input.supplier, amount->agorot(),
         *fund ? QVariant(*fund) : QVariant()});
    const qint64 reciept = inserted.lastInsertId().toLongLong();
    journal::add(store, journal::expenses(), reciept, input.category, *amount, input.date);
    if (input.bankLine) {
      bank::link(store, input.bankLine, QStringLiteral("removals"), reciept, *amount);
      bank::learnSpending(store, input.bankLine, {input.category, input.supplier});
    }
    transaction.commit();
  } catch (const db::Error &e) {
    return {db::saveFailure(e)};
  }
  return {};
}

QString cancel(const db::Store &store, qint64 reciept, const QString &reason, const QDate &day) {
  try {
    db::Transaction transaction(store);
    if (const QString refusal = journal::cancel(store, journal::expenses(), reciept, reason, day); !refusal.isEmpty())
      return refusal;
    transaction.commit();
  } catch (const db::Error &e) {
    return db::saveFailure(e);
  }
  return {};
}

QString addSupplier(const db::Store &store, const QString &name) {
  if (name.trimmed().isEmpty())
    return texts::supplierEmpty;
  if (const QString refusal = input::checkTexts({{texts::supplierField, name}}); !refusal.isEmpty())
    return refusal;
  try {
    db::Transaction transaction(store);
    // One row a supplier: "+" pressed twice, or a name already listed, adds nothing.
    auto listed = store.exec(QStringLiteral("SELECT 1 FROM supplyer WHERE trim(supplyer) = ?"), {name.trimmed()});
    if (listed.next())
      return texts::supplierExists;
    db::checkRead(listed);
    store.exec(QStringLiteral("INSERT INTO supplyer (supplyer) VALUES (?)"), {name.trimmed()});
    transaction.commit();
  } catch (const db::Error &e) {
    return db::saveFailure(e);
  }
  return {};
}

QStringList categories(const db::Store &store) {
  return firstColumn(store, QStringLiteral("SELECT category FROM category ORDER BY rowid"));
}

QStringList suppliers(const db::Store &store) {
  return firstColumn(store, QStringLiteral("SELECT supplyer FROM supplyer ORDER BY rowid"));
}

} // namespace domiva::expenses
