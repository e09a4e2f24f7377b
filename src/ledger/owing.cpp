#include "ledger/owing.h"

#include "ledger/dues.h"
#include "ledger/levies.h"
#include "store/building.h"
#include "store/database.h"
#include "text/months.h"
#include "text/texts.h"

#include <QHash>
#include <QSqlQuery>
#include <map>

namespace domiva::owing {
namespace {
// What the file holds of each apartment, before it is set against the dues.
struct Held {
  QString family;
  Money opening;
  qint64 earlierCells = 0;     // credited to the months of the years before
  std::map<int, qint64> cells; // this year's: month index → credited agorot
};

std::map<qint64, Held> held(const db::Store &store, const QDate &date) {
  std::map<qint64, Held> apartments;
  for (qint64 a = 1, count = building(store).apartments; a <= count; ++a)
    apartments[a];
  store.each(QStringLiteral("SELECT apartment, family FROM neighbors"), {}, [&](const QSqlQuery &residents) {
    apartments[residents.value(0).toLongLong()].family = residents.value(1).toString();
  });
  store.each(QStringLiteral("SELECT apartment, amount FROM opening_debts"), {}, [&](const QSqlQuery &opening) {
    apartments[opening.value(0).toLongLong()].opening = Money::fromAgorot(opening.value(1).toLongLong());
  });
  // The earlier years' cells all count against the earlier debt: summed
  // by the engine, a row per apartment (the cells, not `total`, which a
  // damaged row may disagree with).
  QStringList cells;
  for (const QString &month : months::columns())
    cells << QStringLiteral("coalesce(%1, 0)").arg(month);
  store.each(QStringLiteral("SELECT apartment, sum(%1) FROM anual_report WHERE year < ? GROUP BY apartment")
                 .arg(cells.join(QLatin1Char('+'))),
             {date.year()}, [&](const QSqlQuery &rows) {
               apartments[rows.value(0).toLongLong()].earlierCells = rows.value(1).toLongLong();
             });
  // This year's, month by month; months after the date are paid ahead and count for nothing yet.
  store.each(QStringLiteral("SELECT apartment, %1 FROM anual_report WHERE year = ?")
                 .arg(months::columns().join(QLatin1Char(','))),
             {date.year()}, [&](const QSqlQuery &rows) {
               Held &apartment = apartments[rows.value(0).toLongLong()];
               for (int m = 1; m <= 12 && m <= date.month(); ++m)
                 if (!rows.isNull(m))
                   apartment.cells[ledger::monthIndex(date.year(), m)] += rows.value(m).toLongLong();
             });
  // A levy's payer is charged by it; every other payer has matrix rows.
  store.each(QStringLiteral("SELECT apartment FROM levy_charges"), {},
             [&](const QSqlQuery &others) { apartments[others.value(0).toLongLong()]; });
  return apartments;
}
} // namespace

QList<Account> accounts(const db::Store &store, const QDate &date) {
  const ledger::Dues dues = ledger::Dues::read(store);
  const int last = ledger::monthIndex(date);
  const int yearStart = ledger::monthIndex(date.year(), 1);
  QHash<qint64, Money> levyDebts;
  const QHash<qint64, levies::Levy> all = levies::byId(store);
  for (const levies::Charge &charge : levies::charges(store, std::nullopt, date))
    if (const Money unpaid = levies::dueBy(all.value(charge.levy), charge.amount, date) - charge.paid;
        unpaid.agorot() > 0)
      levyDebts[charge.apartment] += unpaid;
  QList<Account> found;
  for (const auto &[apartment, held] : held(store, date)) {
    Account account;
    account.apartment = apartment;
    account.family = held.family;
    account.levies = levyDebts.value(apartment);
    // The months before this year, and this year's before the books' start,
    // are the earlier years': the opening debt and their dues less what paid them.
    Money earlier = held.opening;
    for (int at = dues.start(); at < std::min(yearStart, last + 1); ++at)
      earlier += dues.owed(apartment, at);
    for (int at = std::max(yearStart, dues.start()); at <= last; ++at) {
      const Money owed = dues.owed(apartment, at);
      const auto cell = held.cells.find(at);
      const qint64 credited = cell == held.cells.end() ? 0 : cell->second;
      ++account.monthsDue;
      account.due += owed;
      account.paid += Money::fromAgorot(credited);
      if (credited < owed.agorot())
        account.unpaid << months::headers()[at - yearStart];
    }
    earlier -= Money::fromAgorot(held.earlierCells);
    for (const auto &[at, credited] : held.cells)
      if (at < dues.start())
        earlier -= Money::fromAgorot(credited);
    account.earlier = earlier;
    account.arrears = account.due - account.paid;
    if (account.arrears.agorot() < 0)
      account.arrears = Money();
    found << account;
  }
  return found;
}

QStringList debtorsHeaders() {
  return {QStringLiteral("דירה"),
          QStringLiteral("שם_ומשפחה"),
          QStringLiteral("חודשים"),
          QStringLiteral("לתשלום"),
          QStringLiteral("שולם"),
          QStringLiteral("פיגור"),
          QStringLiteral("חודשים_שלא_שולמו"),
          QStringLiteral("חוב_משנים_קודמות"),
          QStringLiteral("חוב_היטלים")};
}

QList<QVariantList> debtorsRows(const QList<Account> &accounts, bool everyone) {
  QList<QVariantList> rows;
  for (const Account &a : accounts)
    if (everyone || a.owes())
      rows << QVariantList{a.apartment,
                           a.family.isEmpty() ? texts::emptyApartment : a.family,
                           a.monthsDue,
                           a.due.agorot(),
                           a.paid.agorot(),
                           a.arrears.agorot(),
                           a.unpaid.join(QStringLiteral(", ")),
                           a.earlier.agorot(),
                           a.levies.agorot()};
  return rows;
}

Summary summary(const QList<Account> &accounts) {
  Summary sum;
  for (const Account &a : accounts)
    if (a.owes()) {
      ++sum.debtors;
      sum.arrears += a.arrears;
      sum.earlier += a.earlier;
      sum.levies += a.levies;
    }
  return sum;
}

Summary summary(const db::Store &store, const QDate &date) { return summary(accounts(store, date)); }

QString paymentsQuery() {
  return QStringLiteral("SELECT inputdate AS תאריך, \"for\" AS עבור, detail AS פירוט, from_month AS מחודש, "
                        "to_month AS עד_חודש, year AS שנה, payment AS סוג_תשלום, reference AS אסמכתא, amount AS סכום, "
                        "reciept AS קבלה, "
                        "CASE WHEN cancelled IS NULL THEN '' ELSE 'מבוטל: ' || cancel_reason END AS ביטול "
                        "FROM incoming WHERE apartment = ?");
}

QStringList linesHeaders() {
  return {QStringLiteral("עבור"), QStringLiteral("זוכה"), QStringLiteral("לתשלום"), QStringLiteral("חוב")};
}

QList<QVariantList> lines(const db::Store &store, qint64 apartment, const QDate &date) {
  const ledger::Dues dues = ledger::Dues::read(store);
  QList<QVariantList> found;
  auto opening = store.exec(QStringLiteral("SELECT amount FROM opening_debts WHERE apartment = ?"), {apartment});
  if (opening.next() && opening.value(0).toLongLong() != 0)
    found << QVariantList{texts::openingDebt, 0, opening.value(0).toLongLong(), opening.value(0).toLongLong()};
  db::checkRead(opening);
  opening.finish();
  std::map<int, qint64> credited; // year → total
  store.each(QStringLiteral("SELECT year, total FROM anual_report WHERE apartment = ?"), {apartment},
             [&](const QSqlQuery &years) { credited[years.value(0).toInt()] = years.value(1).toLongLong(); });
  // Every year from the books' start to the date's, and any other the matrix holds.
  for (int year = dues.start() / 12; year <= date.year(); ++year)
    credited.try_emplace(year, 0);
  for (const auto &[year, total] : credited) {
    const qint64 due = dues.ofYear(apartment, year).agorot();
    found << QVariantList{QString::number(year), total, due, due - total};
  }
  const QHash<qint64, levies::Levy> all = levies::byId(store);
  for (const levies::Charge &charge : levies::charges(store, apartment, date)) {
    const Money due = levies::dueBy(all.value(charge.levy), charge.amount, date);
    found << QVariantList{texts::levyLine.arg(all.value(charge.levy).name), charge.paid.agorot(), due.agorot(),
                          (due - charge.paid).agorot()};
  }
  return found;
}

} // namespace domiva::owing
