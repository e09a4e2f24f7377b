#include "ledger/owing.h"

#include "store/database.h"
#include "text/months.h"

#include <QSqlQuery>
#include <QStringList>

namespace domiva::owing {

QString debtorsQuery(const QDate &date, qint64 monthlyPay, bool everyone) {
  const int year = date.year();
  const int due = date.month();
  // A month's dues: those its matrix row was made with (its total and debt
  // make twelve of them), else the building's.
  const QString dues = QStringLiteral("coalesce((r.total + r.depth) / 12, %1)").arg(monthlyPay);
  QStringList credited, unpaid;
  for (int m = 0; m < due; ++m) {
    const QString cell = QStringLiteral("coalesce(r.%1, 0)").arg(months::columns()[m]);
    credited << cell;
    unpaid << QStringLiteral("CASE WHEN %1 < %2 THEN '%3, ' ELSE '' END").arg(cell, dues, months::headers()[m]);
  }
  // Whole numbers of our own making only: the query holds no typed text.
  const QString rows =
      QStringLiteral(
          "SELECT a.apartment AS דירה, coalesce(nullif(n.family, ''), r.family, '') AS שם_ומשפחה, "
          "%2 AS חודשים, %2 * %3 * 100 AS לתשלום, (%4) * 100 AS שולם, max(0, %2 * %3 - (%4)) * 100 AS פיגור, "
          "rtrim(%5, ', ') AS חודשים_שלא_שולמו, "
          "(SELECT coalesce(sum(e.depth), 0) FROM anual_report e WHERE e.apartment = a.apartment AND e.year < %1 "
          "AND e.depth > 0) * 100 AS חוב_משנים_קודמות "
          "FROM (SELECT apartment FROM neighbors UNION SELECT apartment FROM anual_report WHERE year = %1) a "
          "LEFT JOIN neighbors n ON n.apartment = a.apartment "
          "LEFT JOIN anual_report r ON r.apartment = a.apartment AND r.year = %1")
          .arg(year)
          .arg(due)
          .arg(dues, credited.join(QLatin1Char('+')), unpaid.join(QStringLiteral(" || ")));
  return everyone
             ? rows + QStringLiteral(" ORDER BY a.apartment")
             : QStringLiteral("SELECT * FROM (%1) WHERE פיגור > 0 OR חוב_משנים_קודמות > 0 ORDER BY דירה").arg(rows);
}

Summary summary(const QDate &date, qint64 monthlyPay) {
  auto query =
      db::exec(QStringLiteral("SELECT count(*), coalesce(sum(פיגור), 0), coalesce(sum(חוב_משנים_קודמות), 0) FROM (%1)")
                   .arg(debtorsQuery(date, monthlyPay, false)));
  query.next();
  db::checkRead(query);
  return {query.value(0).toLongLong(), Money::fromAgorot(query.value(1).toLongLong()),
          Money::fromAgorot(query.value(2).toLongLong())};
}

QString paymentsQuery() {
  return QStringLiteral("SELECT inputdate AS תאריך, \"for\" AS עבור, detail AS פירוט, from_month AS מחודש, "
                        "to_month AS עד_חודש, year AS שנה, payment AS סוג_תשלום, amount AS סכום, reciept AS קבלה, "
                        "CASE WHEN cancelled IS NULL THEN '' ELSE 'מבוטל: ' || cancel_reason END AS ביטול "
                        "FROM incoming WHERE apartment = ?");
}

QString yearsQuery() {
  return QStringLiteral("SELECT year AS שנה, total * 100 AS זוכה, (total + depth) * 100 AS לתשלום, "
                        "-depth * 100 AS יתרה FROM anual_report WHERE apartment = ? ORDER BY year");
}

} // namespace domiva::owing
