#include "reports/annual.h"

#include "ledger/dues.h"
#include "ledger/matrix.h"
#include "ledger/people.h"
#include "printing/printouts.h"
#include "printing/reportstyle.h"
#include "store/building.h"
#include "store/database.h"
#include "text/money.h"
#include "text/months.h"
#include "text/texts.h"

#include <QSqlQuery>

#include <algorithm>
#include <map>

namespace domiva::annual {

QStringList headers() {
  return QStringList{QStringLiteral("דירה"), QStringLiteral("שם_ומשפחה")}
         << months::headers() << QStringLiteral("סהכ") << QStringLiteral("יתרת_חובה");
}

QList<int> moneyColumns() {
  QList<int> columns;
  for (int c = 2; c < 16; ++c)
    columns << c;
  return columns;
}

namespace {
struct Row {
  QString family;
  matrix::Cells cells;
  qint64 total = 0, depth = 0;
};

// The year's stored rows by apartment into `rows`, each named for whoever
// lived there in the year where the apartment changed hands.
void readStored(const db::Store &store, int year, std::map<qint64, Row> &rows) {
  store.each(QStringLiteral("SELECT apartment, family, %1, total, depth FROM anual_report WHERE year = ?")
                 .arg(months::columns().join(QLatin1Char(','))),
             {year}, [&](const QSqlQuery &stored) {
               Row &row = rows[stored.value(0).toLongLong()];
               row.family = stored.value(1).toString();
               for (int m = 0; m < 12; ++m)
                 if (!stored.isNull(2 + m))
                   row.cells[m] = stored.value(2 + m).toLongLong();
               row.total = stored.value(14).toLongLong();
               row.depth = stored.value(15).toLongLong();
             });
  const people::Occupants occupants(store);
  for (auto &[apartment, row] : rows)
    if (!occupants.changes(apartment).isEmpty())
      row.family = occupants.over(apartment, QDate(year, 1, 1), QDate(year, 12, 31));
}
} // namespace

QList<QVariantList> rows(const db::Store &store, int year) {
  std::map<qint64, Row> stored;
  readStored(store, year, stored);
  QList<QVariantList> shown;
  for (const auto &[apartment, row] : stored) {
    QVariantList cells{apartment, row.family};
    for (const auto &cell : row.cells)
      cells << (cell ? QVariant(*cell) : QVariant());
    shown << (cells << row.total << row.depth);
  }
  return shown;
}

listing::Printout printout(const db::Store &store, int year) {
  listing::Layout layout;
  layout.landscape = true;
  layout.title = QStringLiteral("דו\"ח תשלומים שנתי %1").arg(year);
  QStringList headers{QStringLiteral("דירה"), QStringLiteral("שם ומשפחה")};
  headers << months::headers() << QStringLiteral("סה\"כ") << QStringLiteral("יתרת חובה");
  for (int c = 0; c < headers.size(); ++c)
    layout.columns << listing::Column{headers[c], c == 1 ? 3 : c == 0 ? 1 : 2};
  layout.headerStyle.font = reportFont(QStringLiteral("Arial"), 8, true);
  layout.rowStyle.font = reportFont(QStringLiteral("Arial"), 8);

  // Every apartment of the building, those the year credited nothing owing
  // the year's dues, and any other apartment with a row; then the totals.
  std::map<qint64, Row> rows;
  const ledger::Dues dues = ledger::Dues::read(store);
  const qint64 apartments = building(store).apartments;
  store.each(QStringLiteral("SELECT apartment, family FROM neighbors WHERE apartment <= ?"), {apartments},
             [&](const QSqlQuery &residents) {
               rows[residents.value(0).toLongLong()].family = residents.value(1).toString();
             });
  for (qint64 apartment = 1; apartment <= apartments; ++apartment) {
    Row &row = rows[apartment];
    if (row.family.isEmpty())
      row.family = texts::emptyApartment;
    row.depth = dues.ofYear(apartment, year).agorot();
  }
  readStored(store, year, rows);
  const auto money = [](qint64 agorot) { return Money::fromAgorot(agorot).toPaper(); };
  QList<QStringList> lines;
  Row sum;
  for (const auto &[apartment, row] : rows) {
    QStringList cells{QString::number(apartment), row.family};
    for (int m = 0; m < 12; ++m) {
      cells << (row.cells[m] ? money(*row.cells[m]) : QString());
      if (row.cells[m])
        sum.cells[m] = sum.cells[m].value_or(0) + *row.cells[m];
    }
    cells << money(row.total) << money(row.depth);
    sum.total += row.total;
    sum.depth += row.depth;
    lines << cells;
  }
  QStringList totals{QStringLiteral("סה\"כ"), QString()};
  for (const auto &cell : sum.cells)
    totals << (cell ? money(*cell) : QString());
  totals << money(sum.total) << money(sum.depth);
  lines << totals;
  return listing::fromRows(layout, lines);
}

QStringList yearList(const db::Store &store, int current) {
  QList<int> years;
  for (int year = current - 20; year <= current + 20; ++year)
    years << year;
  // A long file's early years stay within reach.
  store.each(QStringLiteral("SELECT DISTINCT year FROM anual_report ORDER BY year"), {}, [&](const QSqlQuery &stored) {
    if (!years.contains(stored.value(0).toInt()))
      years << stored.value(0).toInt();
  });
  std::sort(years.begin(), years.end());
  QStringList texts;
  for (int year : years)
    texts << QString::number(year);
  return texts;
}

} // namespace domiva::annual
