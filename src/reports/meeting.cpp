#include "reports/meeting.h"

#include "budget/budget.h"
#include "ledger/dues.h"
#include "ledger/funds.h"
#include "ledger/levies.h"
#include "ledger/matrix.h"
#include "printing/printouts.h"
#include "printing/reportstyle.h"
#include "reports/balance.h"
#include "store/building.h"
#include "text/bylawstexts.h"
#include "text/dates.h"
#include "text/texts.h"

#include <QSqlQuery>

#include <algorithm>

namespace domiva::meeting {
using listing::section;

Figures figures(const db::Store &store, const QDate &from, const QDate &to) {
  Figures figures;
  static_cast<ledger::Period &>(figures) = ledger::period(store, from, to);
  figures.debtors = owing::summary(store, to);
  return figures;
}

namespace {
QString amount(const QSqlQuery &row, int column) { return Money::fromAgorot(row.value(column).toLongLong()).toPaper(); }
} // namespace

namespace {
listing::Printout report(const db::Store &store, const QDate &from, const QDate &to, bool names, bool half) {
  const Figures f = figures(store, from, to);
  const QString start = dates::toShort(from), end = dates::toShort(to);
  listing::Layout overview = section({}, {{QStringLiteral("סעיף"), 3}, {QStringLiteral("סכום"), 1}});
  overview.title = half ? texts::halfYearTitle : QStringLiteral("דו\"ח לאסיפה כללית");
  overview.titleStyle.font = reportFont(QStringLiteral("Arial"), 16, true);
  overview.intro << QStringLiteral("לתקופה %1 עד %2").arg(start, end);
  listing::Printout report = listing::fromRows(
      overview, {{QStringLiteral("יתרת פתיחה ליום %1").arg(start), f.opening.toPaper()},
                 {QStringLiteral("הכנסות"), f.income.toPaper()},
                 {QStringLiteral("הוצאות"), f.expenses.toPaper()},
                 {QStringLiteral("תוצאת התקופה"), f.result().toPaper()},
                 {QStringLiteral("יתרת סגירה ליום %1").arg(end), f.closing().toPaper()},
                 {QStringLiteral("דירות חייבות ליום %1").arg(end), QString::number(f.debtors.debtors)},
                 {QStringLiteral("פיגורים בשנת %1").arg(to.year()), f.debtors.arrears.toPaper()},
                 {QStringLiteral("חוב משנים קודמות"), f.debtors.earlier.toPaper()},
                 {QStringLiteral("חוב היטלים ליום %1").arg(end), f.debtors.levies.toPaper()}});

  const QVariantList period{dates::toIso(from), dates::toIso(to)};
  listing::Layout income =
      section(QStringLiteral("הכנסות לפי מטרה"), {{QStringLiteral("עבור"), 3}, {QStringLiteral("סכום"), 1}});
  income.footer << QStringLiteral("סה\"כ הכנסות: %1").arg(f.income.toPaper());
  report.sections.push_back(listing::fromQuery(store, income, balance::incomeQuery(), period, [](const QSqlQuery &row) {
    return QStringList{row.value(0).toString(), amount(row, 1)};
  }));

  listing::Layout spending =
      section(QStringLiteral("הוצאות לפי סוג"),
              {{QStringLiteral("סוג הוצאה"), 3}, {QStringLiteral("סכום"), 1}, {QStringLiteral("חלק מההוצאות"), 1}});
  spending.footer << QStringLiteral("סה\"כ הוצאות: %1").arg(f.expenses.toPaper());
  const qint64 total = f.expenses.agorot();
  report.sections.push_back(
      listing::fromQuery(store, spending, balance::expenseQuery(), period, [total](const QSqlQuery &row) {
        const qint64 part = row.value(1).toLongLong();
        const QString share = total > 0 ? QString::number(100.0 * part / total, 'f', 1) + QLatin1Char('%') : QString();
        return QStringList{row.value(0).toString(), amount(row, 1), share};
      }));

  if (half || funds::any(store))
    report.sections.push_back(funds::printout(store, from, to));

  // Each levy falling due by the period's end: what it charges in all,
  // what was collected by then, and what is still owed of it.
  QList<levies::Levy> all = levies::all(store);
  all.removeIf([&to](const levies::Levy &levy) { return levy.firstDue > to; });
  if (!all.isEmpty()) {
    listing::Layout levyLayout = section(QStringLiteral("היטלים"), {{QStringLiteral("היטל"), 3},
                                                                    {QStringLiteral("חיוב"), 1},
                                                                    {QStringLiteral("נגבה"), 1},
                                                                    {QStringLiteral("יתרה לגבייה"), 1}});
    const QHash<qint64, levies::Charge> sums = levies::totals(store, to);
    QList<QStringList> rows;
    for (const levies::Levy &levy : all) {
      const levies::Charge sum = sums.value(levy.id);
      rows << QStringList{levy.name, sum.amount.toPaper(), sum.paid.toPaper(), (sum.amount - sum.paid).toPaper()};
    }
    report.sections.push_back(listing::fromRows(levyLayout, rows));
  }

  report.sections.push_back(payments(store, from, to, names));
  // More than half a year of months is too wide for a standing page: the
  // amounts would break inside their cells.
  report.layout.landscape = report.sections.back().layout.columns.size() > 3 + names + 6;
  // The year's budget against what was done by the period's end, where the meeting approved one.
  if (store.one(QStringLiteral("SELECT count(*) FROM budgets WHERE year = ?"), {to.year()}).value(0).toLongLong() > 0)
    report.sections.push_back(budget::printout(store, to.year(), to));
  return report;
}
} // namespace

listing::Printout printout(const db::Store &store, const QDate &from, const QDate &to, bool names) {
  return report(store, from, to, names, false);
}

listing::Printout halfYear(const db::Store &store, const QDate &day, bool names) {
  const QDate from(day.year(), day.month() <= 6 ? 1 : 7, 1);
  return report(store, from, from.addMonths(6).addDays(-1), names, true);
}

listing::Printout payments(const db::Store &store, const QDate &from, const QDate &to, bool names) {
  // The period's months, the last twelve of a longer one (and one month of a period given backwards).
  const int last = ledger::monthIndex(to), first = std::clamp(ledger::monthIndex(from), last - 11, last);
  listing::Layout layout = section(texts::meetingPayments.arg(dates::toShort(from), dates::toShort(to)),
                                   {{QStringLiteral("דירה"), 2}});
  if (names)
    layout.columns << listing::Column{QStringLiteral("שם ומשפחה"), 4};
  for (int at = first; at <= last; ++at)
    layout.columns << listing::Column{QStringLiteral("%1/%2").arg(at % 12 + 1, 2, 10, QLatin1Char('0')).arg(at / 12), 3,
                                      true};
  layout.columns << listing::Column{QStringLiteral("סה\"כ"), 3, true}
                 << listing::Column{texts::meetingDebt.arg(dates::toShort(to)), 3, true};
  layout.counted = false; // its own totals row
  layout.headerStyle.font = reportFont(QStringLiteral("Arial"), 6.5, true);
  layout.rowStyle.font = reportFont(QStringLiteral("Arial"), 6.5);

  // What the payments made by the period's end credit to its months, and
  // each apartment's debt as at that day.
  const ledger::Dues dues = ledger::Dues::read(store);
  const matrix::Credited credited = matrix::credited(store, dues, to);
  QList<QStringList> lines;
  std::vector<qint64> sums(last - first + 3, 0);
  for (const owing::Account &account : owing::accounts(store, to)) {
    QStringList cells{QString::number(account.apartment)};
    if (names)
      cells << (account.family.isEmpty() ? texts::emptyApartment : account.family);
    qint64 total = 0;
    for (int at = first; at <= last; ++at) {
      const auto year = credited.find({account.apartment, at / 12});
      // A month before the books' start is the opening debt's, as in the annual table.
      const std::optional<qint64> cell =
          year == credited.end() || at < dues.start() ? std::nullopt : year->second[at % 12];
      cells << (cell ? Money::fromAgorot(*cell).toPaper() : QString());
      total += cell.value_or(0);
      sums[at - first] += cell.value_or(0);
    }
    sums[last - first + 1] += total;
    sums[last - first + 2] += account.total().agorot();
    lines << (cells << Money::fromAgorot(total).toPaper() << account.total().toPaper());
  }
  QStringList totals{QStringLiteral("סה\"כ")};
  if (names)
    totals << QString();
  for (const qint64 sum : sums)
    totals << Money::fromAgorot(sum).toPaper();
  lines << totals;
  return listing::fromRows(layout, lines);
}

} // namespace domiva::meeting
