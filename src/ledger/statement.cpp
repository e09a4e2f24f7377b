#include "ledger/statement.h"

#include "ledger/dues.h"
#include "ledger/levies.h"
#include "ledger/owing.h"
#include "ledger/people.h"
#include "printing/printouts.h"
#include "store/building.h"
#include "text/collectiontexts.h"
#include "text/dates.h"
#include "text/months.h"
#include "text/texts.h"

#include <QHash>
#include <QSqlQuery>
#include <algorithm>

namespace domiva::statements {
namespace {
// Within a day, a newcomer before what is charged to him, and a charge
// before the payment that meets it.
enum Kind { Newcomer, Opening, Dues, Instalment, Payment };
struct Entry {
  QDate date;
  Kind kind;
  QString text;
  Money amount;
};

QString monthName(int index, int year) { return texts::statementYearMonths.arg(months::headers().value(index)).arg(year); }

// What a payment was for, as its receipt says it.
QString purpose(const QSqlQuery &row, const QHash<qint64, levies::Levy> &levies) {
  if (!row.isNull(6))
    return texts::levyLine.arg(levies.value(row.value(6).toLongLong()).name);
  if (row.isNull(5))
    return texts::openingDebt;
  const int year = row.value(5).toInt();
  const int from = months::indexOfListName(row.value(3).toString()), to = months::indexOfListName(row.value(4).toString());
  return from == to ? monthName(from, year)
                    : texts::statementYearMonths.arg(texts::monthsRange.arg(months::headers().value(from),
                                                                              months::headers().value(to)))
                          .arg(year);
}

// The oldest charges are met first; what is left of each is owed still.
QList<Line> unpaid(const QList<Entry> &entries) {
  qint64 paid = 0;
  for (const Entry &e : entries)
    if (e.kind == Payment)
      paid += e.amount.agorot();
  QList<Line> left;
  for (const Entry &e : entries) {
    if (e.kind == Payment)
      continue;
    const qint64 met = std::min(paid, e.amount.agorot());
    paid -= met;
    if (met < e.amount.agorot())
      left << Line{e.date, e.text, Money::fromAgorot(e.amount.agorot() - met), {}, {}, e.kind == Dues};
  }
  return left;
}

Aged aged(const QList<Line> &unpaid, const QDate &asAt) {
  Aged by{};
  for (const Line &line : unpaid) {
    const qint64 days = line.date.daysTo(asAt);
    by[std::ranges::find_if(agingBounds, [days](int bound) { return days <= bound; }) - std::begin(agingBounds)] +=
        line.charge;
  }
  return by;
}
} // namespace

QList<Sheet> sheets(const db::Store &store, const QDate &asAt, const QList<qint64> &apartments) {
  const ledger::Dues dues = ledger::Dues::read(store);
  const QHash<qint64, levies::Levy> levies = levies::byId(store);
  QHash<qint64, QList<Entry>> entries;
  for (qint64 apartment : apartments)
    entries[apartment];
  const auto wanted = [&](qint64 apartment) { return entries.contains(apartment); };
  const QDate start = ledger::firstDay(dues.start());
  const people::Occupants occupants(store);
  store.each(QStringLiteral("SELECT apartment, amount FROM opening_debts"), {}, [&](const QSqlQuery &rows) {
    if (wanted(rows.value(0).toLongLong()) && rows.value(1).toLongLong() != 0)
      entries[rows.value(0).toLongLong()] << Entry{std::min(start, asAt), Opening, texts::openingDebt,
                                                   Money::fromAgorot(rows.value(1).toLongLong())};
  });
  for (qint64 apartment : apartments)
    for (const QDate &day : occupants.changes(apartment))
      if (day <= asAt)
        entries[apartment] << Entry{day, Newcomer,
                                    texts::statementChange.arg(occupants.at(apartment, day),
                                                               occupants.at(apartment, day.addDays(-1))),
                                    {}};
  for (qint64 apartment : apartments)
    for (int at = dues.start(); at <= ledger::monthIndex(asAt); ++at)
      if (const Money owed = dues.owed(apartment, at); owed.agorot() != 0)
        entries[apartment] << Entry{ledger::firstDay(at), Dues, texts::statementDues.arg(months::headers()[at % 12]).arg(at / 12),
                                    owed};
  // Each instalment on its own day, an equal part in agorot, the remainder in the last.
  store.each(QStringLiteral("SELECT levy, apartment, amount FROM levy_charges"), {}, [&](const QSqlQuery &rows) {
    const qint64 apartment = rows.value(1).toLongLong();
    if (!wanted(apartment))
      return;
    const levies::Levy levy = levies.value(rows.value(0).toLongLong());
    const qint64 whole = rows.value(2).toLongLong(), part = whole / levy.instalments;
    for (int i = 0; i < levy.instalments && levy.firstDue.addMonths(i) <= asAt; ++i)
      entries[apartment] << Entry{levy.firstDue.addMonths(i), Instalment,
                                  levy.instalments == 1
                                      ? texts::levyLine.arg(levy.name)
                                      : texts::statementInstalment.arg(levy.name).arg(i + 1).arg(levy.instalments),
                                  Money::fromAgorot(i + 1 == levy.instalments ? whole - part * i : part)};
  });
  store.each(QStringLiteral("SELECT apartment, inputdate, coalesce(part_of, reciept), from_month, to_month, year, levy, "
                            "amount FROM incoming WHERE cancelled IS NULL AND inputdate <= ?"),
             {dates::toIso(asAt)}, [&](const QSqlQuery &rows) {
               if (wanted(rows.value(0).toLongLong()))
                 entries[rows.value(0).toLongLong()]
                     << Entry{dates::fromIso(rows.value(1).toString()), Payment,
                              texts::statementPayment.arg(rows.value(2).toLongLong()).arg(purpose(rows, levies)),
                              Money::fromAgorot(rows.value(7).toLongLong())};
             });
  QList<Sheet> found;
  for (qint64 apartment : apartments) {
    QList<Entry> &mine = entries[apartment];
    std::ranges::stable_sort(mine, [](const Entry &a, const Entry &b) {
      return std::pair{a.date, a.kind} < std::pair{b.date, b.kind};
    });
    Sheet sheet{apartment, {}, asAt, {}, unpaid(mine), {}};
    sheet.family = occupants.over(apartment, start, asAt); // all who lived there in its lines
    sheet.aged = aged(sheet.unpaid, asAt);
    Money balance;
    for (const Entry &e : mine) {
      const bool paid = e.kind == Payment;
      balance += paid ? Money() - e.amount : e.amount;
      sheet.lines << Line{e.date, e.text, paid ? Money() : e.amount, paid ? e.amount : Money(), balance, e.kind == Dues};
    }
    found << sheet;
  }
  return found;
}

QList<Sheet> ofDebtors(const db::Store &store, const QDate &asAt) {
  QList<qint64> debtors;
  for (const owing::Account &account : owing::accounts(store, asAt))
    if (account.owes())
      debtors << account.apartment;
  return sheets(store, asAt, debtors);
}

listing::Printout printout(const QList<Sheet> &sheets) {
  listing::Printout paper;
  const QStringList headers = texts::statementHeaders.split(QLatin1Char('|'));
  const QStringList ages = texts::agingHeaders.split(QLatin1Char('|'));
  for (const Sheet &sheet : sheets) {
    const QString asAt = dates::toShort(sheet.asAt);
    listing::Layout layout = listing::section(texts::statementTitle.arg(sheet.apartment),
                                              {{headers[0], 2}, {headers[1], 5}, {headers[2], 2}, {headers[3], 2},
                                               {headers[4], 2}});
    layout.intro << (sheet.family.isEmpty() ? texts::emptyApartment : sheet.family) << texts::statementAsAt.arg(asAt);
    QList<QStringList> rows;
    const auto paperOrEmpty = [](Money m) { return m.agorot() == 0 ? QString() : m.toPaper(); };
    for (const Line &line : sheet.lines)
      rows << QStringList{dates::toShort(line.date), line.text, paperOrEmpty(line.charge), paperOrEmpty(line.payment),
                          line.balance.toPaper()};
    const Money balance = sheet.balance();
    layout.footer << (balance.agorot() < 0 ? texts::statementCredit.arg(asAt, (Money() - balance).toPaper())
                                           : texts::statementBalance.arg(asAt, balance.toPaper()));
    listing::Layout aging = listing::section(texts::agingTitle, {});
    for (const QString &age : ages)
      aging.columns << listing::Column{age, 1};
    QStringList aged;
    Money debt;
    for (const Money &part : sheet.aged) {
      aged << part.toPaper();
      debt += part;
    }
    aged << debt.toPaper();
    listing::addPage(paper, listing::fromRows(layout, rows));
    paper.sections.push_back(listing::fromRows(aging, {aged}));
  }
  return paper;
}

} // namespace domiva::statements
