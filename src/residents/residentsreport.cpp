#include "residents/residentsreport.h"

#include "printing/printouts.h"
#include "printing/reportstyle.h"
#include "store/database.h"
#include "text/bidi.h"

#include <QSqlQuery>

namespace domiva::residents {

listing::Printout listPrintout(const db::Store &store) {
  listing::Layout layout;
  layout.title = QStringLiteral("רשימת דיירים");
  layout.titleStyle = {reportFont(QStringLiteral("Microsoft Sans Serif"), 14.25, true, true), Qt::black,
                       QColor(0xC0, 0xC0, 0xC0)};
  const QStringList headers{QStringLiteral("דירה"),   QStringLiteral("משפחה"),  QStringLiteral("סטטוס"),
                            QStringLiteral("טלפון1"), QStringLiteral("טלפון2"), QStringLiteral("אימייל")};
  const QList<int> widths{1134, 1701, 1134, 1140, 1134, 1134};
  for (int c = 0; c < headers.size(); ++c)
    layout.columns << listing::Column{headers[c], widths[c]};
  layout.headerStyle = {reportFont(QStringLiteral("Narkisim"), 9, true, true), QColor(0x40, 0x40, 0x40),
                        QColor(0xE0, 0xE0, 0xE0)};
  layout.rowStyle = {reportFont(QStringLiteral("Narkisim"), 8.25), Qt::black, Qt::transparent};
  layout.counted = true;
  return listing::fromQuery(store, layout,
                            QStringLiteral("select apartment, family, status, phone1, phone2, email from neighbors "
                                           "order by apartment"),
                            {}, [](const QSqlQuery &row) {
                              QStringList cells;
                              for (int c = 0; c < 3; ++c)
                                cells << row.value(c).toString();
                              for (int c = 3; c < 6; ++c)
                                cells << leftToRight(row.value(c).toString());
                              return cells;
                            });
}

} // namespace domiva::residents
