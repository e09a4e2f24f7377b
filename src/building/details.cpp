#include "building/details.h"

#include "store/database.h"
#include "text/dates.h"
#include "text/input.h"
#include "text/texts.h"
#include "text/today.h"

#include <QRegularExpression>

namespace domiva {

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
    const auto updated =
        db::exec(QStringLiteral("UPDATE registery SET apartments = ?, monthly_pay = ?, openbalance = ?, "
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
