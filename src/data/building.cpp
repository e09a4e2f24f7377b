#include "data/building.h"

#include "common/texts.h"
#include "common/today.h"
#include "data/database.h"
#include "data/dates.h"
#include "data/input.h"

#include <QRegularExpression>

namespace domiva {
namespace {
Building current;

QDate defaultOpenDate() { return QDate(today().year(), 1, 1); }
} // namespace

QString buildingLine(const Building &details) {
  QStringList where;
  for (const QString &part : {details.street, details.city})
    if (!part.trimmed().isEmpty())
      where << part.trimmed();
  return where.join(QStringLiteral(", "));
}

Building readBuilding() {
  auto query = db::exec(QStringLiteral(
      "SELECT apartments, monthly_pay, openbalance, opendate, street, city FROM registery LIMIT 1"));
  // Reading writes nothing: a missing row is written by the first save.
  if (!query.next())
    return Building{0, 0, 0, defaultOpenDate(), {}, {}};
  Building details;
  details.apartments = query.value(0).toLongLong();
  details.monthlyPay = query.value(1).toLongLong();
  details.openBalance = query.value(2).toLongLong();
  details.openDate = dates::fromIso(query.value(3).toString());
  if (!details.openDate.isValid())
    details.openDate = defaultOpenDate();
  details.street = query.value(4).toString();
  details.city = query.value(5).toString();
  return details;
}

db::Opened openBooks(const QString &path, db::Check check, db::Access access) {
  db::Opened opened = db::open(path, check, access);
  if (!opened.failure.isEmpty())
    return opened;
  try {
    setBuilding(readBuilding());
  } catch (const db::Error &e) {
    db::close();
    opened.failure = texts::withDetail(texts::dbCannotRead, e.text());
  }
  return opened;
}

const Building &building() { return current; }

void setBuilding(const Building &details) { current = details; }

std::optional<qint64> parseWholeNumber(const QString &text) {
  // Nine digits: far beyond any building, and twelve months of it still fit.
  static const QRegularExpression form(QStringLiteral("^-?\\d{1,9}$"));
  const QString trimmed = text.trimmed();
  if (!form.match(trimmed).hasMatch())
    return std::nullopt;
  return trimmed.toLongLong();
}

QString saveBuilding(const BuildingInput &input) {
  const auto apartments = parseWholeNumber(input.apartments);
  if (!apartments || *apartments < 0)
    return texts::badApartments;
  const auto balance = parseWholeNumber(input.openBalance);
  if (!balance)
    return texts::badOpenBalance;
  const auto monthly = parseWholeNumber(input.monthlyPay);
  if (!monthly || *monthly < 0)
    return texts::badMonthlyPay;
  // Whole shekels within the bound of every typed amount.
  for (const qint64 amount : {*balance, *monthly})
    if (amount * 100 > input::maxAgorot || amount * 100 < -input::maxAgorot)
      return texts::amountTooLarge;
  if (const QString refusal = input::checkTexts({{texts::streetField, input.street}, {texts::cityField, input.city}});
      !refusal.isEmpty())
    return refusal;
  try {
    db::Transaction transaction;
    const auto updated = db::exec(
        QStringLiteral("UPDATE registery SET apartments = ?, monthly_pay = ?, openbalance = ?, "
                       "opendate = ?, street = ?, city = ?"),
        {*apartments, *monthly, *balance, dates::toIso(input.openDate), input.street, input.city});
    if (updated.numRowsAffected() == 0)
      db::exec(QStringLiteral("INSERT INTO registery VALUES (?, ?, ?, ?, ?, ?)"),
               {*apartments, *monthly, *balance, dates::toIso(input.openDate), input.street, input.city});
    // This year's debts follow the new dues; past years keep the dues they had.
    db::exec(QStringLiteral("UPDATE anual_report SET depth = ? - total WHERE year >= ?"),
             {12 * *monthly, today().year()});
    transaction.commit();
  } catch (const db::Error &e) {
    return texts::saveFailed.arg(db::explain(e));
  }
  setBuilding({*apartments, *monthly, *balance, input.openDate, input.street, input.city});
  return {};
}

} // namespace domiva
