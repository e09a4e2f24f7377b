#include "building/details.h"

#include "ledger/dues.h"
#include "ledger/matrix.h"
#include "ledger/shares.h"
#include "residents/residents.h"
#include "store/database.h"
#include "text/dates.h"
#include "text/input.h"
#include "text/texts.h"
#include "text/today.h"

#include <QRegularExpression>

namespace domiva {
namespace {
// A monthly dues as typed, or the refusal.
std::optional<Money> dues(const QString &text, QString *refusal) {
  return input::nonNegative(text, texts::badMonthlyPay, texts::badMonthlyPay, refusal);
}

// Runs `write` and then (with `rebuild`) brings the matrix to the schedule
// it leaves, in one transaction. An empty text, or why it failed.
template <typename Write> QString writeAndRebuild(const db::Store &store, Write write, bool rebuild = true) {
  try {
    db::Transaction transaction(store);
    if (const QString refusal = write(); !refusal.isEmpty())
      return refusal;
    if (rebuild)
      matrix::rebuildAll(store, ledger::Dues::read(store));
    transaction.commit();
  } catch (const db::Error &e) {
    return db::saveFailure(e);
  }
  return {};
}
} // namespace

std::optional<qint64> parseWholeNumber(const QString &text) {
  // Nine digits: far beyond any building.
  static const QRegularExpression form(QStringLiteral("^-?\\d{1,9}$"));
  const QString trimmed = text.trimmed();
  if (!form.match(trimmed).hasMatch())
    return std::nullopt;
  return trimmed.toLongLong();
}

std::optional<QDate> parseMonth(const QString &text) {
  static const QRegularExpression form(QStringLiteral("^(\\d{1,2})\\s*[/.-]\\s*(\\d{4})$"));
  const auto match = form.match(text.trimmed());
  const QDate first(match.captured(2).toInt(), match.captured(1).toInt(), 1);
  if (!match.hasMatch() || !first.isValid())
    return std::nullopt;
  return first;
}

bool changesDues(const db::Store &store, const BuildingInput &input) {
  const auto typed = input::amount(input.monthlyPay);
  const Money now = building(store).monthlyPay;
  return typed && *typed != now && now != Money();
}

QString saveBuilding(const db::Store &store, const BuildingInput &input) {
  const auto apartments = parseWholeNumber(input.apartments);
  // A building of more would charge a levy to a million rows by a slip of the finger.
  if (!apartments || *apartments < 0 || *apartments > maxApartments)
    return texts::badApartments;
  const auto balance = input::amount(input.openBalance);
  if (!balance)
    return Money::parse(input.openBalance) ? texts::amountTooLarge : texts::badOpenBalance;
  QString refusal;
  const auto monthly = dues(input.monthlyPay, &refusal);
  if (!monthly)
    return refusal;
  if (const QString refusal = input::checkTexts({{texts::streetField, input.street}, {texts::cityField, input.city}});
      !refusal.isEmpty())
    return refusal;
  const Building saved = building(store);
  const bool duesChanged = *monthly != saved.monthlyPay;
  const QDate from = input.duesFrom.value_or(input.openDate);
  const QString failure = writeAndRebuild(
      store,
      [&] {
        const QVariantList values{*apartments,  monthly->agorot(), balance->agorot(), dates::toIso(input.openDate),
                                  input.street, input.city};
        if (store
                .exec(QStringLiteral("UPDATE registery SET apartments = ?, monthly_pay = ?, openbalance = ?, "
                                     "opendate = ?, street = ?, city = ?"),
                      values)
                .numRowsAffected() == 0)
          store.exec(QStringLiteral("INSERT INTO registery VALUES (?, ?, ?, ?, ?, ?)"), values);
        // Earlier months keep the dues they had; from `from` on, this row
        // holds (replacing any later change of the building's).
        if (duesChanged) {
          // Dues in force with no row of their own (a file written by hand) hold from the books' start.
          const Money before = saved.monthlyPay;
          const bool first =
              store.one(QStringLiteral("SELECT count(*) FROM dues WHERE apartment IS NULL")).value(0).toLongLong() == 0;
          if (before.agorot() > 0 && first)
            store.exec(QStringLiteral("INSERT INTO dues (year, month, amount) VALUES (?, ?, ?)"),
                       {saved.openDate.year(), saved.openDate.month(), before.agorot()});
          store.exec(QStringLiteral("DELETE FROM dues WHERE apartment IS NULL AND year * 12 + month >= ? * 12 + ?"),
                     {from.year(), from.month()});
          // A change is stamped, so payments recorded before it keep their
          // shares; the building's first dues are known from the start.
          store.exec(QStringLiteral("INSERT INTO dues (year, month, amount, entered) VALUES (?, ?, ?, ?)"),
                     {from.year(), from.month(), monthly->agorot(),
                      first && before.agorot() == 0 ? QVariant() : QVariant(dates::momentToIso(now()))});
        }
        return QString();
      },
      duesChanged || input.openDate != saved.openDate);
  if (!failure.isEmpty())
    return failure;
  setBuilding(store, {*apartments, *monthly, *balance, input.openDate, input.street, input.city});
  return {};
}

QString scheduleQuery() {
  return QStringLiteral(
      "SELECT rowid AS מספר, CASE WHEN month < 10 THEN '0' ELSE '' END || month || '/' || year AS מחודש, "
      "coalesce(CAST(apartment AS TEXT), 'כל הדירות') AS דירה, amount AS \"סכום לחודש\" FROM dues "
      "ORDER BY year, month, apartment IS NOT NULL, apartment");
}

QString addApartmentDues(const db::Store &store, const QString &apartmentText, const QString &monthText,
                         const QString &amountText) {
  QString refusal;
  const auto apartment = residents::apartmentOf(store, apartmentText, &refusal);
  if (!apartment)
    return refusal;
  const auto month = parseMonth(monthText);
  if (!month)
    return texts::badDuesMonth;
  const auto amount = dues(amountText, &refusal);
  if (!amount)
    return refusal;
  return writeAndRebuild(store, [&] {
    store.exec(QStringLiteral("DELETE FROM dues WHERE apartment = ? AND year = ? AND month = ?"),
               {*apartment, month->year(), month->month()});
    store.exec(QStringLiteral("INSERT INTO dues (year, month, amount, apartment, entered) VALUES (?, ?, ?, ?, ?)"),
               {month->year(), month->month(), amount->agorot(), *apartment, dates::momentToIso(now())});
    return QString();
  });
}

QString addDuesByShares(const db::Store &store, const QString &monthText, const QString &wholeText) {
  const auto month = parseMonth(monthText);
  if (!month)
    return texts::badDuesMonth;
  QString refusal;
  const auto whole = dues(wholeText, &refusal);
  if (!whole)
    return refusal;
  return writeAndRebuild(store, [&] {
    QList<qint64> apartments;
    for (qint64 apartment = 1; apartment <= building(store).apartments; ++apartment)
      apartments << apartment;
    QString missing;
    const auto split = shares::byShares(store, apartments, whole->agorot(), &missing);
    if (!split)
      return missing;
    for (int i = 0; i < apartments.size(); ++i) {
      store.exec(QStringLiteral("DELETE FROM dues WHERE apartment = ? AND year = ? AND month = ?"),
                 {apartments[i], month->year(), month->month()});
      store.exec(QStringLiteral("INSERT INTO dues (year, month, amount, apartment, entered) VALUES (?, ?, ?, ?, ?)"),
                 {month->year(), month->month(), split->parts[i], apartments[i], dates::momentToIso(now())});
    }
    return QString();
  });
}

QString removeDues(const db::Store &store, qint64 id) {
  Building after;
  const QString failure = writeAndRebuild(store, [&] {
    auto row = store.exec(QStringLiteral("SELECT year, month FROM dues WHERE rowid = ?"), {id});
    if (!row.next()) {
      db::checkRead(row);
      return texts::duesRowGone;
    }
    const int first = ledger::monthIndex(row.value(0).toInt(), row.value(1).toInt());
    row.finish();
    if (first <= ledger::monthIndex(today()))
      return texts::duesRowStarted;
    store.exec(QStringLiteral("DELETE FROM dues WHERE rowid = ?"), {id});
    // The dues in force may be an earlier row's again.
    after = readBuilding(store);
    store.exec(QStringLiteral("UPDATE registery SET monthly_pay = ?"), {after.monthlyPay.agorot()});
    return QString();
  });
  if (failure.isEmpty())
    setBuilding(store, after);
  return failure;
}

QString openingDebtsQuery() {
  return QStringLiteral("SELECT apartment AS דירה, amount AS \"חוב פתיחה\" FROM opening_debts ORDER BY apartment");
}

QString setOpeningDebt(const db::Store &store, const QString &apartmentText, const QString &amountText) {
  QString refusal;
  const auto apartment = residents::apartmentOf(store, apartmentText, &refusal);
  if (!apartment)
    return refusal;
  const auto amount = input::amount(amountText);
  if (!amount)
    return input::amountRefusal(amountText);
  try {
    db::Transaction transaction(store);
    store.exec(QStringLiteral("DELETE FROM opening_debts WHERE apartment = ?"), {*apartment});
    if (amount->agorot() != 0)
      store.exec(QStringLiteral("INSERT INTO opening_debts (apartment, amount) VALUES (?, ?)"),
                 {*apartment, amount->agorot()});
    transaction.commit();
  } catch (const db::Error &e) {
    return db::saveFailure(e);
  }
  return {};
}

} // namespace domiva
