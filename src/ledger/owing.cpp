#include "ledger/owing.h"

#include "ledger/dues.h"
#include "ledger/levies.h"
#include "ledger/matrix.h"
#include "ledger/people.h"
#include "store/building.h"
#include "store/database.h"
#include "text/dates.h"
#include "text/collectiontexts.h"
#include "text/months.h"
#include "text/texts.h"

#include <QHash>
#include <QSqlQuery>
#include <map>

namespace domiva::owing {
namespace {
// What each apartment paid for its opening debt by the date: the payments
// with neither a levy nor a year.
std::map<qint64, qint64> openingPayments(const db::Store &store, const QDate &date) {
  std::map<qint64, qint64> paid;
  store.each(QStringLiteral("SELECT apartment, sum(amount) FROM incoming WHERE levy IS NULL AND year IS NULL AND "
                            "cancelled IS NULL AND inputdate <= ? GROUP BY apartment"),
             {dates::toIso(date)},
             [&](const QSqlQuery &rows) { paid[rows.value(0).toLongLong()] = rows.value(1).toLongLong(); });
  return paid;
}

// What the file holds of each apartment as at the date, before it is set
// against the dues: only payments dated by then count.
struct Held {
  Money opening;
  qint64 openingPaid = 0;      // paid for the opening debt, or for months before the books' start
  qint64 earlierCells = 0;     // credited to the months of the years before
  std::map<int, qint64> cells; // this year's up to the date: month index → credited agorot
  std::map<int, qint64> years; // every year's months due by the date: year → credited agorot
  qint64 ahead = 0;            // credited to months after the date
};

std::map<qint64, Held> held(const db::Store &store, const ledger::Dues &dues, const QDate &date) {
  std::map<qint64, Held> apartments;
  for (qint64 a = 1, count = building(store).apartments; a <= count; ++a)
    apartments[a];
  store.each(QStringLiteral("SELECT apartment FROM neighbors"), {},
             [&](const QSqlQuery &residents) { apartments[residents.value(0).toLongLong()]; });
  store.each(QStringLiteral("SELECT apartment, amount FROM opening_debts"), {}, [&](const QSqlQuery &opening) {
    apartments[opening.value(0).toLongLong()].opening = Money::fromAgorot(opening.value(1).toLongLong());
  });
  for (const auto &[apartment, paid] : openingPayments(store, date))
    apartments[apartment].openingPaid += paid;
  for (const auto &[key, cells] : matrix::credited(store, dues, date)) {
    Held &apartment = apartments[key.first];
    for (int m = 0; m < 12; ++m) {
      const qint64 cell = cells[m].value_or(0);
      if (ledger::monthIndex(key.second, m + 1) < dues.start()) {
        apartment.openingPaid += cell;
        continue;
      }
      if (key.second > date.year() || (key.second == date.year() && m + 1 > date.month())) {
        apartment.ahead += cell; // paid ahead: counts for nothing yet
        continue;
      }
      apartment.years[key.second] += cell;
      if (key.second < date.year())
        apartment.earlierCells += cell;
      else if (cells[m])
        apartment.cells[ledger::monthIndex(key.second, m + 1)] += cell;
    }
  }
  // A levy's payer is charged by it; every other payer has credited years.
  store.each(QStringLiteral("SELECT apartment FROM levy_charges"), {},
             [&](const QSqlQuery &others) { apartments[others.value(0).toLongLong()]; });
  return apartments;
}
// Every apartment's account as at the date, from what the file holds of it.
QList<Account> accountsOf(const db::Store &store, const ledger::Dues &dues, const QDate &date,
                          const std::map<qint64, Held> &holdings) {
  const int last = ledger::monthIndex(date);
  const int yearStart = ledger::monthIndex(date.year(), 1);
  QHash<qint64, Money> levyBalance; // due by the date less paid: a debt, or paid ahead when below 0
  QHash<qint64, QDate> levySince;   // the first day of the oldest levy not paid in full
  const QHash<qint64, levies::Levy> all = levies::byId(store);
  for (const levies::Charge &charge : levies::charges(store, std::nullopt, date)) {
    const levies::Levy levy = all.value(charge.levy);
    const Money left = levies::dueBy(levy, charge.amount, date) - charge.paid;
    levyBalance[charge.apartment] += left;
    if (left.agorot() > 0)
      levySince[charge.apartment] = std::min(levySince.value(charge.apartment, date), levy.firstDue);
  }
  QList<Account> found;
  for (const auto &[apartment, held] : holdings) {
    Account account;
    account.apartment = apartment;
    account.since = date;
    // The months before this year, and this year's before the books' start,
    // are the earlier years': the opening debt and their dues less what paid them.
    Money earlier = held.opening;
    for (int at = dues.start(); at < std::min(yearStart, last + 1); ++at)
      earlier += dues.owed(apartment, at);
    earlier -= Money::fromAgorot(held.earlierCells + held.openingPaid);
    // This year's months: what each lacks, and what others were paid over
    // their dues, which goes to the earliest months lacking.
    QList<std::pair<int, qint64>> lacking;
    qint64 over = 0;
    for (int at = std::max(yearStart, dues.start()); at <= last; ++at) {
      const Money owed = dues.owed(apartment, at);
      const auto cell = held.cells.find(at);
      const qint64 credited = cell == held.cells.end() ? 0 : cell->second;
      ++account.monthsDue;
      account.due += owed;
      account.paid += Money::fromAgorot(credited);
      if (credited < owed.agorot())
        lacking.append({at, owed.agorot() - credited});
      else
        over += credited - owed.agorot();
    }
    for (const auto &[at, short_] : lacking) {
      if (over >= short_)
        over -= short_;
      else {
        over = 0;
        account.unpaid << months::headers()[at - yearStart];
        account.since = std::min(account.since, ledger::firstDay(at));
      }
    }
    const Money levies = levyBalance.value(apartment);
    if (earlier.agorot() > 0)
      account.since = std::min(account.since, ledger::firstDay(dues.start()));
    if (levies.agorot() > 0)
      account.since = std::min(account.since, levySince.value(apartment));
    const Money year = account.due - account.paid;
    // Each kind is a debt or a credit; a credit is never set against a debt.
    for (const auto &[balance, debt] :
         {std::pair{earlier, &account.earlier}, std::pair{levies, &account.levies}, std::pair{year, &account.arrears}})
      if (balance.agorot() > 0)
        *debt = balance;
      else
        account.credit -= balance;
    account.credit += Money::fromAgorot(held.ahead);
    found << account;
  }
  return found;
}
} // namespace

QList<Account> accounts(const db::Store &store, const QDate &date) {
  const ledger::Dues dues = ledger::Dues::read(store);
  QList<Account> found = accountsOf(store, dues, date, held(store, dues, date));
  QHash<qint64, QString> letters;
  store.each(QStringLiteral("SELECT apartment, stage, sent FROM reminders WHERE sent <= ? ORDER BY sent, id"),
             {dates::toIso(date)}, [&](const QSqlQuery &sent) {
               letters.insert(sent.value(0).toLongLong(), texts::lastLetter.arg(sent.value(1).toInt())
                                                              .arg(dates::toShort(dates::fromIso(sent.value(2).toString()))));
             });
  // Whoever lived there on the date, and where the debt goes back to
  // before they came, whose it was.
  const people::Occupants occupants(store);
  for (Account &account : found) {
    account.lastLetter = letters.value(account.apartment);
    account.family = account.owes() ? occupants.over(account.apartment, account.since, date)
                                    : occupants.at(account.apartment, date);
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
          QStringLiteral("חוב_היטלים"),
          QStringLiteral("סה\"כ_חוב"),
          QStringLiteral("זכות"),
          QStringLiteral("מכתב_אחרון")};
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
                           a.levies.agorot(),
                           a.total().agorot(),
                           a.credit.agorot(),
                           a.lastLetter};
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
                        "coalesce(part_of, reciept) AS קבלה, "
                        "CASE WHEN cancelled IS NULL THEN '' ELSE 'מבוטל: ' || cancel_reason END AS ביטול, "
                        "reciept AS שורה, %1 AS שם_ומשפחה FROM incoming WHERE apartment = ?")
      .arg(people::occupantSql(QStringLiteral("incoming.apartment"), QStringLiteral("incoming.inputdate")));
}

QStringList linesHeaders() {
  return {QStringLiteral("עבור"), QStringLiteral("זוכה"), QStringLiteral("לתשלום"), QStringLiteral("חוב")};
}

QList<QVariantList> lines(const db::Store &store, qint64 apartment, const QDate &date) {
  const ledger::Dues dues = ledger::Dues::read(store);
  QList<QVariantList> found;
  // The opening debt and what paid it: payments for it, and for months
  // before the books' start; each year from the books' start to the
  // date's, and any other credited by then, with what was paid for its
  // months up to the date, as who owes holds them.
  const std::map<qint64, Held> holdings = held(store, dues, date);
  const auto kept = holdings.find(apartment);
  const Held apartmentHeld = kept == holdings.end() ? Held() : kept->second;
  const qint64 openingDebt = apartmentHeld.opening.agorot(), openingPaid = apartmentHeld.openingPaid;
  std::map<int, qint64> credited = apartmentHeld.years;
  const qint64 ahead = apartmentHeld.ahead;
  if (openingDebt != 0 || openingPaid != 0)
    found << QVariantList{texts::openingDebt, openingPaid, openingDebt, openingDebt - openingPaid};
  for (int year = dues.start() / 12; year <= date.year(); ++year)
    credited.try_emplace(year, 0);
  for (const auto &[year, total] : credited) {
    qint64 due = 0;
    for (int m = 1; m <= 12 && (year < date.year() || m <= date.month()); ++m)
      due += dues.owed(apartment, ledger::monthIndex(year, m)).agorot();
    found << QVariantList{QString::number(year), total, due, due - total};
  }
  if (ahead != 0)
    found << QVariantList{texts::paidAhead, ahead, 0, -ahead};
  const QHash<qint64, levies::Levy> all = levies::byId(store);
  for (const levies::Charge &charge : levies::charges(store, apartment, date)) {
    const Money due = levies::dueBy(all.value(charge.levy), charge.amount, date);
    found << QVariantList{texts::levyLine.arg(all.value(charge.levy).name), charge.paid.agorot(), due.agorot(),
                          (due - charge.paid).agorot()};
  }
  // The lines add up to the debt less the credit; both are said whole, as who owes says them.
  for (const Account &account : accountsOf(store, dues, date, holdings))
    if (account.apartment == apartment) {
      found << QVariantList{texts::totalDebt, QVariant(), QVariant(), account.total().agorot()};
      if (account.credit.agorot() > 0)
        found << QVariantList{texts::totalCredit, QVariant(), QVariant(), -account.credit.agorot()};
    }
  return found;
}

} // namespace domiva::owing
