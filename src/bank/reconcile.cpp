#include "bank/reconcile.h"

#include "bank/matching.h"
#include "ledger/period.h"
#include "printing/printouts.h"
#include "printing/reportstyle.h"
#include "text/dates.h"
#include "text/banktexts.h"
#include "text/texts.h"

#include <algorithm>

namespace domiva::bank {

Reconciliation reconcile(const db::Store &store, const QDate &date) {
  Reconciliation r;
  r.date = date;
  r.books = ledger::period(store, date, date).closing();
  const QString day = dates::toIso(date);
  auto balance = store.exec(QStringLiteral("SELECT balance FROM bank_lines WHERE inputdate <= ? AND balance IS NOT "
                                           "NULL ORDER BY inputdate DESC, id DESC LIMIT 1"),
                            {day});
  if (balance.next())
    r.bank = Money::fromAgorot(balance.value(0).toLongLong());
  db::checkRead(balance);
  QString first;
  for (const Review &line : review(store)) {
    if (first.isEmpty())
      first = dates::toIso(line.date);
    if (line.date > date || line.done())
      continue;
    const Money left = line.amount.agorot() < 0 ? Money() - line.left() : line.left();
    r.bankOnly << QStringList{dates::toShort(line.date), (line.description + QLatin1Char(' ') + line.details).trimmed(),
                              left.toPaper()};
    r.bankOnlySum += left;
  }
  if (first.isEmpty())
    return r;
  // The payments and expenses from the statements' first day with no bank
  // line, by date (a day's payments before its expenses).
  QList<std::pair<QString, QStringList>> books;
  const auto unmatched = [&](const QString &sql, const QString &words, int sign) {
    store.each(sql, {first, day}, [&](const QSqlQuery &row) {
      const Money amount = Money::fromAgorot(sign * row.value(2).toLongLong());
      books.append({row.value(0).toString(),
                    {dates::toShort(dates::fromIso(row.value(0).toString())), words.arg(row.value(1).toString()),
                     amount.toPaper()}});
      r.booksOnlySum += amount;
    });
  };
  unmatched(QStringLiteral("SELECT inputdate, apartment || ', ' || \"for\", amount FROM incoming i WHERE cancelled IS "
                           "NULL AND inputdate BETWEEN ? AND ? AND NOT EXISTS (SELECT 1 FROM bank_records r WHERE "
                           "r.source_table = 'incoming' AND r.source_reciept = i.reciept) ORDER BY inputdate, reciept"),
            texts::reconcilePayment, 1);
  unmatched(QStringLiteral("SELECT \"Date\", category, amount FROM removals e WHERE cancelled IS NULL AND \"Date\" "
                           "BETWEEN ? AND ? AND NOT EXISTS (SELECT 1 FROM bank_records r WHERE r.source_table = "
                           "'removals' AND r.source_reciept = e.reciept) ORDER BY \"Date\", reciept"),
            texts::reconcileExpense, -1);
  std::stable_sort(books.begin(), books.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
  for (const auto &row : std::as_const(books))
    r.booksOnly << row.second;
  return r;
}

listing::Printout printout(const Reconciliation &r) {
  const QString day = dates::toShort(r.date);
  listing::Layout overview =
      listing::section(texts::reconcileTitle, {{texts::reconcileItem, 3}, {texts::reconcileAmount, 1}});
  overview.titleStyle.font = reportFont(QStringLiteral("Arial"), 16, true);
  overview.intro << texts::reconcileAsOf.arg(day);
  const auto known = [](const std::optional<Money> &money) {
    return money ? money->toPaper() : texts::reconcileUnknown;
  };
  listing::Printout paper = listing::fromRows(
      overview, {{texts::reconcileBank.arg(day), known(r.bank)},
                 {texts::reconcileBooks.arg(day), r.books.toPaper()},
                 {texts::reconcileDifference, known(r.bank ? std::optional(*r.bank - r.books) : std::nullopt)},
                 {texts::reconcileBankOnly, r.bankOnlySum.toPaper()},
                 {texts::reconcileBooksOnly, r.booksOnlySum.toPaper()},
                 {texts::reconcileUnexplained, known(r.unexplained())}});
  const QList<listing::Column> columns{
      {texts::reconcileDate, 1}, {texts::reconcileWords, 4}, {texts::reconcileAmount, 1}};
  for (const auto &[title, rows, sum] : {std::tuple{texts::reconcileBankOnly, r.bankOnly, r.bankOnlySum},
                                         std::tuple{texts::reconcileBooksOnly, r.booksOnly, r.booksOnlySum}}) {
    listing::Layout layout = listing::section(title, columns);
    layout.footer << texts::columnTotal.arg(texts::reconcileAmount, sum.toPaper());
    paper.sections.push_back(listing::fromRows(layout, rows));
  }
  return paper;
}

} // namespace domiva::bank
