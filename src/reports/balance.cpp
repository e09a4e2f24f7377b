#include "reports/balance.h"

#include "ledger/funds.h"
#include "printing/printouts.h"
#include "printing/reportstyle.h"
#include "store/database.h"
#include "text/dates.h"
#include "text/texts.h"

#include <QSqlQuery>

namespace domiva::balance {
QString incomeQuery() {
  return QStringLiteral("select \"for\" as עבור ,sum(amount) as סכום from incoming "
                        "where inputdate between ? and ? and cancelled is null group by \"for\"");
}

QString expenseQuery() {
  return QStringLiteral("select category as סוג_הוצאה ,sum(amount) as סכום from removals "
                        "where \"Date\" between ? and ? and cancelled is null group by category");
}

QString years(const QDate &from, const QDate &to) {
  return from.year() == to.year() ? QString::number(from.year())
                                  : QStringLiteral("%1\u2013%2").arg(from.year()).arg(to.year());
}

listing::Printout printout(const db::Store &store, const QDate &from, const QDate &to, const ledger::Period &money) {
  listing::Layout layout;
  layout.title = QStringLiteral("מאזן שנתי %1").arg(years(from, to));
  layout.titleStyle = {reportFont(QStringLiteral("Guttman David"), 15.75, true), Qt::black, QColor(192, 192, 192)};
  layout.intro << QStringLiteral("בין התאריכים %1 עד %2").arg(dates::toShort(from), dates::toShort(to));
  layout.introStyle = {reportFont(QStringLiteral("Guttman David"), 14.25, true), Qt::black, QColor(224, 224, 224)};
  layout.band = QStringLiteral("הכנסות/הוצאות");
  layout.bandStyle = {reportFont(QStringLiteral("Arial"), 14.25, true), Qt::black, QColor(128, 128, 128)};
  layout.columns = {{QStringLiteral("תיאור"), 1134}, {QStringLiteral("סכום"), 1140}, {QStringLiteral("סוג"), 1125}};
  layout.headerStyle = {reportFont(QStringLiteral("Arial"), 9.75, true), Qt::black, QColor(224, 224, 224)};
  layout.rowStyle = {reportFont(QStringLiteral("Arial"), 8.25), Qt::black, Qt::transparent};
  layout.footer = QStringList{QStringLiteral("הכנסות פחות הוצאות: %1").arg(money.result().toPaper()),
                              QStringLiteral("יתרת פתיחה: %1").arg(money.opening.toPaper()),
                              QStringLiteral("יתרה לסוף התקופה: %1").arg(money.closing().toPaper())};
  layout.footerStyle = {reportFont(QStringLiteral("Arial"), 14.25, true), Qt::black, Qt::transparent};
  // The lines come from the payments and expenses the footer sums, so the
  // paper holds one truth: income by purpose, then expenses by category,
  // each with its subtotal; a cancelled row leaves no line behind.
  QList<QStringList> rows;
  Money subtotal;
  QString type;
  const auto closeGroup = [&] {
    if (!type.isEmpty())
      rows << QStringList{type == texts::income ? texts::incomeSubtotal : texts::expenseSubtotal, subtotal.toPaper(),
                          QString()};
    subtotal = Money();
  };
  const QVariantList period{dates::toIso(from), dates::toIso(to)};
  for (const auto &part : {std::pair{incomeQuery(), texts::income}, {expenseQuery(), texts::expense}}) {
    const QString &sql = part.first, &kind = part.second;
    store.each(QStringLiteral("SELECT * FROM (%1) AS sums ORDER BY 1").arg(sql), period, [&](const QSqlQuery &sums) {
      if (type != kind) {
        closeGroup();
        type = kind;
      }
      const Money amount = Money::fromAgorot(sums.value(1).toLongLong());
      subtotal += amount;
      rows << QStringList{sums.value(0).toString(), amount.toPaper(), type};
    });
  }
  closeGroup();
  listing::Printout report = listing::fromRows(layout, rows);
  if (funds::any(store))
    report.sections.push_back(funds::printout(store, from, to));
  return report;
}

} // namespace domiva::balance
