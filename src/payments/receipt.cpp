#include "payments/receipt.h"

#include "ledger/people.h"
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
  // Every part of the receipt the row belongs to, in the order written.
  struct Part {
    QString forText, months, year;
    Money amount;
  };
  QList<Part> parts;
  QStringList first; // date, apartment, family, detail, payment, reference, cancelled, reason, number
  store.each(
      QStringLiteral("SELECT p.inputdate, p.apartment, %1, p.detail, p.payment, p.reference, "
                     "p.cancelled, p.cancel_reason, coalesce(p.part_of, p.reciept), p.\"for\", p.levy, p.from_month, "
                     "p.to_month, p.year, p.amount FROM incoming r JOIN incoming p ON coalesce(p.part_of, p.reciept) = "
                     "coalesce(r.part_of, r.reciept) WHERE r.reciept = ? ORDER BY p.reciept")
          .arg(people::occupantSql(QStringLiteral("p.apartment"), QStringLiteral("p.inputdate"))),
      {reciept}, [&](const QSqlQuery &row) {
        if (first.isEmpty())
          for (int c = 0; c < 9; ++c)
            first << row.value(c).toString();
        // A levy's payment names the levy; its months and year are not
        // used, as the opening debt's.
        const QString from = row.value(11).toString(), to = row.value(12).toString();
        parts << Part{row.isNull(10) ? row.value(9).toString() : texts::levyLine.arg(row.value(9).toString()),
                      row.isNull(13) ? QString()
                      : from == to   ? from
                                     : texts::monthsRange.arg(from, to),
                      row.value(13).toString(), Money::fromAgorot(row.value(14).toLongLong())};
      });
  if (parts.isEmpty())
    return std::nullopt;
  QList<QStringList> lines{{QStringLiteral("תאריך"), dates::toShort(dates::fromIso(first[0]))},
                           {QStringLiteral("דירה"), first[1]},
                           {QStringLiteral("שם ומשפחה"), first[2]}};
  Money amount;
  for (const Part &part : std::as_const(parts))
    amount += part.amount;
  if (parts.size() == 1) {
    lines << QStringList{QStringLiteral("עבור"), parts[0].forText} << QStringList{QStringLiteral("פירוט"), first[3]};
    if (!parts[0].months.isEmpty())
      lines << QStringList{QStringLiteral("חודשים"), parts[0].months}
            << QStringList{QStringLiteral("שנה"), parts[0].year};
  } else {
    // Each part on a line of its own: what it paid, its months, its amount.
    for (const Part &part : std::as_const(parts))
      lines << QStringList{
          QStringLiteral("עבור"),
          texts::receiptPart.arg(part.months.isEmpty()
                                     ? part.forText
                                     : part.forText + QStringLiteral(", ") + part.months + QLatin1Char(' ') + part.year,
                                 texts::shekels.arg(part.amount.toPaper()))};
    lines << QStringList{QStringLiteral("פירוט"), first[3]};
  }
  lines << QStringList{QStringLiteral("אופן תשלום"), first[4]};
  if (!first[5].isEmpty())
    lines << QStringList{QStringLiteral("אסמכתא"), first[5]};
  lines << QStringList{QStringLiteral("סכום"), texts::shekels.arg(amount.toPaper())}
        << QStringList{QStringLiteral("סכום במילים"), amount.inWords()};
  // A cancelled receipt says when and why, beside the word across it.
  const bool cancelled = !first[6].isEmpty();
  if (cancelled)
    lines << QStringList{QStringLiteral("בוטלה"),
                         texts::receiptCancelledOn.arg(dates::toShort(dates::fromIso(first[6])), first[7])};
  listing::Layout layout;
  layout.title = texts::receiptTitle.arg(first[8]);
  layout.titleStyle.font = reportFont(QStringLiteral("Arial"), 18, true);
  // The committee issues it: a resident's receipt names who received the money.
  const QString where = buildingLine(building(store));
  layout.intro << (where.isEmpty() ? texts::receiptIssuer : texts::receiptIssuer + QStringLiteral(", ") + where);
  layout.columns = {{QStringLiteral("פרט"), 1}, {QStringLiteral("ערך"), 3}};
  layout.rowStyle.font = reportFont(QStringLiteral("Arial"), 12);
  layout.footer = QStringList{QString(), texts::treasurerSignature};
  layout.footerStyle.font = reportFont(QStringLiteral("Arial"), 12);
  if (cancelled)
    layout.watermark = texts::receiptCancelled;
  return listing::fromRows(layout, lines);
}

} // namespace domiva::payments
