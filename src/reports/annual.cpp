#include "reports/annual.h"

#include "printing/reportstyle.h"
#include "store/database.h"
#include "text/money.h"
#include "text/months.h"

#include <QSqlQuery>

#include <algorithm>

namespace domiva::annual {

QString matrixQuery() {
  QStringList columns{QStringLiteral("apartment as דירה"), QStringLiteral("family as שם_ומשפחה")};
  for (int m = 0; m < 12; ++m)
    columns << months::columns()[m] + QStringLiteral(" as ") + months::headers()[m];
  columns << QStringLiteral("total as סהכ") << QStringLiteral("depth as יתרת_חובה");
  return QStringLiteral("SELECT %1 From anual_report WHERE year = ?").arg(columns.join(QLatin1Char(',')));
}

QList<int> moneyColumns() {
  QList<int> columns;
  for (int c = 2; c < 16; ++c)
    columns << c;
  return columns;
}

listing::Printout printout(int year) {
  listing::Layout layout;
  layout.landscape = true;
  layout.title = QStringLiteral("דו\"ח תשלומים שנתי %1").arg(year);
  QStringList headers{QStringLiteral("דירה"), QStringLiteral("שם ומשפחה")};
  headers << months::headers() << QStringLiteral("סה\"כ") << QStringLiteral("יתרת חובה");
  for (int c = 0; c < headers.size(); ++c)
    layout.columns << listing::Column{headers[c], c == 1 ? 3 : c == 0 ? 1 : 2};
  layout.headerStyle.font = reportFont(QStringLiteral("Arial"), 8, true);
  layout.rowStyle.font = reportFont(QStringLiteral("Arial"), 8);
  QStringList sums;
  for (const QString &column : months::columns())
    sums << QStringLiteral("sum(%1)").arg(column);
  // Every apartment of the year, then the year's totals.
  const QString sql = matrixQuery() + QStringLiteral(" UNION ALL SELECT 'סה\"כ', '', %1, sum(total), sum(depth) "
                                                     "FROM anual_report WHERE year = ?")
                                          .arg(sums.join(QLatin1Char(',')));
  return listing::fromQuery(layout, sql, {year, year}, [](const QSqlQuery &row) {
    QStringList cells;
    for (int c = 0; c < 16; ++c)
      cells << (c < 2 || row.isNull(c) ? row.value(c).toString()
                                       : Money::fromAgorot(row.value(c).toLongLong()).toDisplay());
    return cells;
  });
}

QStringList yearList(int current) {
  QList<int> years;
  for (int year = current - 20; year <= current + 20; ++year)
    years << year;
  // A long file's early years stay within reach.
  auto stored = db::exec(QStringLiteral("SELECT DISTINCT year FROM anual_report ORDER BY year"));
  while (stored.next())
    if (!years.contains(stored.value(0).toInt()))
      years << stored.value(0).toInt();
  db::checkRead(stored);
  std::sort(years.begin(), years.end());
  QStringList texts;
  for (int year : years)
    texts << QString::number(year);
  return texts;
}

} // namespace domiva::annual
