#include "reports/annual.h"

#include "data/months.h"

namespace domiva::annual {

QString matrixQuery() {
  QStringList columns{QStringLiteral("apartment as דירה"), QStringLiteral("family as שם_ומשפחה")};
  for (int m = 0; m < 12; ++m)
    columns << months::columns()[m] + QStringLiteral(" as ") + months::headers()[m];
  columns << QStringLiteral("total as סהכ") << QStringLiteral("depth as יתרת_חובה");
  return QStringLiteral("SELECT %1 From anual_report WHERE year = ?").arg(columns.join(QLatin1Char(',')));
}

QStringList yearList(int current) {
  QStringList years;
  for (int year = current - 20; year <= current + 20; ++year)
    years << QString::number(year);
  return years;
}

} // namespace domiva::annual
