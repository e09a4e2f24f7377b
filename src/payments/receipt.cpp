#include "payments/receipt.h"

#include "printing/printouts.h"
#include "printing/reportstyle.h"
#include "store/building.h"
#include "store/database.h"
#include "text/dates.h"
#include "text/money.h"
#include "text/texts.h"

#include <QSqlQuery>

namespace domiva::payments {

std::optional<listing::Printout> receipt(const db::Store &store, qint64 reciept) {
  auto row = store.exec(
      QStringLiteral("SELECT i.inputdate AS inputdate, i.apartment AS apartment, coalesce(n.family, '') AS family, "
                     "i.\"for\" AS \"for\", i.detail AS detail, i.from_month AS from_month, i.to_month AS to_month, "
                     "i.year AS year, i.payment AS payment, i.amount AS amount, i.cancelled AS cancelled, "
                     "i.levy AS levy, i.reference AS reference, i.cancel_reason AS cancel_reason "
                     "FROM incoming i LEFT JOIN neighbors n ON n.apartment = i.apartment "
                     "WHERE i.reciept = ?"),
      {reciept});
  const bool found = row.next();
  db::checkRead(row);
  if (!found)
    return std::nullopt;
  // The row's values by their columns' names.
  const auto text = [&row](const char *column) { return row.value(QLatin1String(column)).toString(); };
  const QString from = text("from_month"), to = text("to_month");
  // A levy's payment names the levy; its months and year are not used, as
  // the opening debt's.
  const bool levy = !row.isNull(QLatin1String("levy"));
  const bool months = !row.isNull(QLatin1String("year"));
  QList<QStringList> lines{
      {QStringLiteral("תאריך"), dates::toShort(dates::fromIso(text("inputdate")))},
      {QStringLiteral("דירה"), text("apartment")},
      {QStringLiteral("שם ומשפחה"), text("family")},
      {QStringLiteral("עבור"), levy ? texts::levyLine.arg(text("for")) : text("for")},
      {QStringLiteral("פירוט"), text("detail")},
  };
  if (months)
    lines << QStringList{QStringLiteral("חודשים"), from == to ? from : texts::monthsRange.arg(from, to)}
          << QStringList{QStringLiteral("שנה"), text("year")};
  lines << QStringList{QStringLiteral("אופן תשלום"), text("payment")};
  if (!text("reference").isEmpty())
    lines << QStringList{QStringLiteral("אסמכתא"), text("reference")};
  const Money amount = Money::fromAgorot(row.value(QLatin1String("amount")).toLongLong());
  lines << QStringList{QStringLiteral("סכום"), texts::shekels.arg(amount.toPaper())}
        << QStringList{QStringLiteral("סכום במילים"), amount.inWords()};
  // A cancelled receipt says when and why, beside the word across it.
  if (!row.isNull(QLatin1String("cancelled")))
    lines << QStringList{
        QStringLiteral("בוטלה"),
        texts::receiptCancelledOn.arg(dates::toShort(dates::fromIso(text("cancelled"))), text("cancel_reason"))};
  listing::Layout layout;
  layout.title = texts::receiptTitle.arg(reciept);
  layout.titleStyle.font = reportFont(QStringLiteral("Arial"), 18, true);
  // The committee issues it: a resident's receipt names who received the money.
  const QString where = buildingLine(building(store));
  layout.intro << (where.isEmpty() ? texts::receiptIssuer : texts::receiptIssuer + QStringLiteral(", ") + where);
  layout.columns = {{QStringLiteral("פרט"), 1}, {QStringLiteral("ערך"), 3}};
  layout.rowStyle.font = reportFont(QStringLiteral("Arial"), 12);
  layout.footer = QStringList{QString(), texts::treasurerSignature};
  layout.footerStyle.font = reportFont(QStringLiteral("Arial"), 12);
  if (!row.isNull(QLatin1String("cancelled")))
    layout.watermark = texts::receiptCancelled;
  return listing::fromRows(layout, lines);
}

} // namespace domiva::payments
