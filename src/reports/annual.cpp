#include "reports/annual.h"

#include "data/database.h"
#include "data/months.h"

#include <algorithm>

namespace domiva::annual {

QString matrixQuery() {
  QStringList columns{QStringLiteral("apartment as דירה"), QStringLiteral("family as שם_ומשפחה")};
  for (int m = 0; m < 12; ++m)
    columns << months::columns()[m] + QStringLiteral(" as ") + months::headers()[m];
  columns << QStringLiteral("total as סהכ") << QStringLiteral("depth as יתרת_חובה");
  return QStringLiteral("SELECT %1 From anual_report WHERE year = ?").arg(columns.join(QLatin1Char(',')));
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
