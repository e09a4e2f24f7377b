#include "residents/residentsreport.h"

#include "data/database.h"
#include "data/reportdocument.h"

namespace domiva::residents {

std::unique_ptr<QTextDocument> buildListReport() {
  ReportLayout layout;
  auto query = db::exec(QStringLiteral("select * from neighbors order by apartment"));
  while (query.next()) {
    layout.rows << QStringList{query.value("apartment").toString(), query.value("family").toString(),
                               query.value("status").toString(),    query.value("phone1").toString(),
                               query.value("phone2").toString(),    query.value("email").toString()};
  }
  db::checkRead(query);
  if (layout.rows.isEmpty())
    return nullptr;
  layout.title = QStringLiteral("רשימת דיירים");
  layout.titleStyle = {reportFont(QStringLiteral("Microsoft Sans Serif"), 14.25, true, true), Qt::black,
                       QColor(0xC0, 0xC0, 0xC0)};
  layout.headers = QStringList{QStringLiteral("דירה"),   QStringLiteral("משפחה"),  QStringLiteral("סטטוס"),
                               QStringLiteral("טלפון1"), QStringLiteral("טלפון2"), QStringLiteral("אימייל")};
  layout.headerStyle = {reportFont(QStringLiteral("Narkisim"), 9, true, true), QColor(0x40, 0x40, 0x40),
                        QColor(0xE0, 0xE0, 0xE0)};
  layout.rowStyle = {reportFont(QStringLiteral("Narkisim"), 8.25), Qt::black, Qt::transparent};
  layout.widths = {1134, 1701, 1134, 1140, 1134, 1134};
  return buildReport(layout);
}

} // namespace domiva::residents
