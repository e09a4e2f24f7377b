#include "payments/receipt.h"

#include "printing/reportstyle.h"
#include "store/database.h"
#include "text/dates.h"
#include "text/money.h"
#include "text/texts.h"

#include <QSqlQuery>

namespace domiva::payments {

std::optional<listing::Printout> receipt(const db::Store &store, qint64 reciept) {
  auto row = store.exec(
      QStringLiteral("SELECT i.inputdate, i.apartment, coalesce(n.family, ''), i.\"for\", i.detail, "
                     "i.from_month, i.to_month, i.year, i.payment, i.amount, i.cancelled, i.levy, i.reference "
                     "FROM incoming i LEFT JOIN neighbors n ON n.apartment = i.apartment "
                     "WHERE i.reciept = ?"),
      {reciept});
  const bool found = row.next();
  db::checkRead(row);
  if (!found)
    return std::nullopt;
  const QString from = row.value(5).toString(), to = row.value(6).toString();
  // A levy's payment names the levy; its months and year are not used.
  const bool levy = !row.isNull(11);
  QList<QStringList> lines{
      {QStringLiteral("תאריך"), dates::toShort(dates::fromIso(row.value(0).toString()))},
      {QStringLiteral("דירה"), row.value(1).toString()},
      {QStringLiteral("שם ומשפחה"), row.value(2).toString()},
      {QStringLiteral("עבור"), levy ? texts::levyLine.arg(row.value(3).toString()) : row.value(3).toString()},
      {QStringLiteral("פירוט"), row.value(4).toString()},
  };
  if (!levy)
    lines << QStringList{QStringLiteral("חודשים"), from == to ? from : texts::monthsRange.arg(from, to)}
          << QStringList{QStringLiteral("שנה"), row.value(7).toString()};
  lines << QStringList{QStringLiteral("אופן תשלום"), row.value(8).toString()};
  if (!row.value(12).toString().isEmpty())
    lines << QStringList{QStringLiteral("אסמכתא"), row.value(12).toString()};
  lines << QStringList{QStringLiteral("סכום"),
                       texts::shekels.arg(Money::fromAgorot(row.value(9).toLongLong()).toPaper())};
  listing::Layout layout;
  layout.title = texts::receiptTitle.arg(reciept);
  layout.titleStyle.font = reportFont(QStringLiteral("Arial"), 18, true);
  layout.columns = {{QStringLiteral("פרט"), 1}, {QStringLiteral("ערך"), 3}};
  layout.rowStyle.font = reportFont(QStringLiteral("Arial"), 12);
  layout.footer = QStringList{QString(), texts::treasurerSignature};
  layout.footerStyle.font = reportFont(QStringLiteral("Arial"), 12);
  if (!row.value(10).isNull())
    layout.watermark = texts::receiptCancelled;
  return listing::fromRows(layout, lines);
}

} // namespace domiva::payments
