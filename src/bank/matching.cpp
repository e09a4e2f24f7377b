#include "bank/matching.h"

#include "ledger/dues.h"
#include "ledger/matrix.h"
#include "ledger/owing.h"
#include "text/dates.h"
#include "text/months.h"
#include "text/banktexts.h"
#include "text/texts.h"

#include <QRegularExpression>

namespace domiva::bank {

QString payer(const QString &words) {
  static const QRegularExpression account(QStringLiteral("(?<!\\d)(\\d{2,3})[-/](\\d{3})[-/](\\d{4,9})(?!\\d)"));
  if (const auto match = account.match(words); match.hasMatch())
    return QStringLiteral("חשבון %1-%2-%3").arg(match.captured(1), match.captured(2), match.captured(3));
  // The name after "מאת", up to what the payer wrote after it.
  static const QRegularExpression from(QStringLiteral("מאת\\s*:?\\s*([^\\d,:]+?)\\s*(?:עבור|דירה|ועד|$|[\\d,:])"));
  if (const auto match = from.match(words); match.hasMatch() && match.captured(1).simplified().size() > 1)
    return QStringLiteral("שם ") + match.captured(1).simplified();
  return {};
}

qint64 apartmentNamed(const QString &words) {
  static const QRegularExpression named(QStringLiteral("דירה\\s*(?:מס['׳]?\\s*)?(\\d{1,4})(?!\\d)"));
  const auto match = named.match(words);
  return match.hasMatch() ? match.captured(1).toLongLong() : 0;
}

namespace {
// What of line l is recorded and stands: its payments and expenses not cancelled.
QString recordedOf() {
  return QStringLiteral("coalesce((SELECT sum(r.amount) FROM bank_records r LEFT JOIN incoming i ON r.source_table = "
                        "'incoming' AND i.reciept = r.source_reciept LEFT JOIN removals e ON r.source_table = "
                        "'removals' AND e.reciept = r.source_reciept WHERE r.line = l.id AND i.cancelled IS NULL "
                        "AND e.cancelled IS NULL), 0)");
}

QString wordsOf(const db::Store &store, qint64 line) {
  const auto row = store.one(
      QStringLiteral("SELECT description || ' ' || details || ' ' || note FROM bank_lines WHERE id = ?"), {line});
  return row.value(0).toString();
}
} // namespace

Proposal propose(const db::Store &store, qint64 line) {
  const QString words = wordsOf(store, line);
  Proposal proposal;
  if (const QString who = payer(words); !who.isEmpty())
    store.each(QStringLiteral("SELECT apartment FROM bank_payers WHERE payer = ? ORDER BY apartment"), {who},
               [&](const QSqlQuery &row) { proposal.apartments << row.value(0).toLongLong(); });
  proposal.sure = proposal.apartments.size() == 1;
  if (proposal.apartments.isEmpty())
    if (const qint64 apartment = apartmentNamed(words))
      proposal.apartments << apartment;
  return proposal;
}

namespace {
// Months from `first` of `year`, as many as `amount` covers at their dues
// (one at least, to December at most).
Purpose months(const db::Store &store, qint64 apartment, Money amount, int first, int year) {
  const matrix::Weights dues = matrix::weights(ledger::Dues::read(store), apartment, year);
  int last = first;
  for (qint64 covered = dues[first]; last < 11 && dues[last + 1] > 0 && covered + dues[last + 1] <= amount.agorot();)
    covered += dues[++last];
  return {texts::houseCommittee, months::listNames()[first], months::listNames()[last], QString::number(year)};
}
} // namespace

Purpose purposeFor(const db::Store &store, qint64 apartment, Money amount, const QDate &date) {
  const auto accounts = owing::accounts(store, date);
  const auto account = std::find_if(accounts.begin(), accounts.end(),
                                    [apartment](const owing::Account &a) { return a.apartment == apartment; });
  if (account != accounts.end() && !account->unpaid.isEmpty())
    return months(store, apartment, amount, int(months::headers().indexOf(account->unpaid.first())), date.year());
  // The apartment's lines: the opening debt first, each levy charged to it.
  const auto lines = owing::lines(store, apartment, date);
  for (const QVariantList &line : lines)
    if (line[0].toString().startsWith(texts::levyLine.arg(QString())) && line[3].toLongLong() > 0)
      return {line[0].toString().mid(texts::levyLine.arg(QString()).size()), {}, {}, {}};
  if (!lines.isEmpty() && lines[0][0].toString() == texts::openingDebt && lines[0][3].toLongLong() > 0)
    return {texts::openingDebt, {}, {}, {}};
  const QDate next = date.addMonths(1);
  return months(store, apartment, amount, next.month() - 1, next.year());
}

Spending spendingFor(const db::Store &store, qint64 line) {
  const QString words = wordsOf(store, line).simplified();
  auto rule = store.exec(QStringLiteral("SELECT r.category, r.supplyer FROM bank_rules r, bank_lines l WHERE "
                                        "l.id = ? AND r.words = l.description"),
                         {line});
  if (rule.next())
    return {rule.value(0).toString(), rule.value(1).toString(), true};
  db::checkRead(rule);
  if (words.contains(QStringLiteral("עמלה")) || words.contains(QStringLiteral("עמלת")))
    return {texts::bankFees, {}};
  return {};
}

void learnSpending(const db::Store &store, qint64 line, const Spending &spending) {
  const QString words =
      store.one(QStringLiteral("SELECT description FROM bank_lines WHERE id = ?"), {line}).value(0).toString();
  if (words.trimmed().isEmpty())
    return;
  store.exec(QStringLiteral("DELETE FROM bank_rules WHERE words = ?"), {words});
  store.exec(QStringLiteral("INSERT INTO bank_rules (words, category, supplyer) VALUES (?, ?, ?)"),
             {words, spending.category, spending.supplier});
}

QString check(const db::Store &store, qint64 line, const QString &table, Money amount) {
  // What the line holds, and what of it was recorded and stands (not cancelled).
  const auto held = store.one(
      QStringLiteral("SELECT l.amount, %1, l.aside FROM bank_lines l WHERE l.id = ?").arg(recordedOf()), {line});
  const Money whole = Money::fromAgorot(std::abs(held.value(0).toLongLong()));
  const Money recorded = Money::fromAgorot(held.value(1).toLongLong());
  const bool credit = held.value(0).toLongLong() > 0;
  if (!held.isNull(2))
    return texts::bankLineAside;
  if (credit != (table == QLatin1String("incoming")))
    return credit ? texts::bankCreditNotExpense : texts::bankDebitNotPayment;
  if (amount.agorot() <= 0) // a negative part would free what others recorded
    return texts::bankPartNotPositive;
  if ((recorded + amount).agorot() > whole.agorot())
    return texts::bankLineRecorded.arg(recorded.toPaper(), whole.toPaper());
  return {};
}

void link(const db::Store &store, qint64 line, const QString &table, qint64 reciept, Money amount, qint64 apartment) {
  store.exec(
      QStringLiteral("INSERT INTO bank_records (line, source_table, source_reciept, amount) VALUES (?, ?, ?, ?)"),
      {line, table, reciept, amount.agorot()});
  if (const QString who = payer(wordsOf(store, line)); apartment && !who.isEmpty())
    store.exec(QStringLiteral("INSERT INTO bank_payers (payer, apartment) VALUES (?, ?) ON CONFLICT DO NOTHING"),
               {who, apartment});
}

QList<Review> review(const db::Store &store) {
  QList<Review> lines;
  store.each(QStringLiteral("SELECT l.id, l.inputdate, l.description, l.details, l.reference, l.amount, %1, "
                            "coalesce(l.aside, '') FROM bank_lines l ORDER BY l.inputdate, l.id")
                 .arg(recordedOf()),
             {}, [&lines](const QSqlQuery &row) {
               lines.append({row.value(0).toLongLong(),
                             dates::fromIso(row.value(1).toString()),
                             row.value(2).toString(),
                             row.value(3).toString(),
                             row.value(4).toString(),
                             Money::fromAgorot(row.value(5).toLongLong()),
                             Money::fromAgorot(row.value(6).toLongLong()),
                             {},
                             {},
                             row.value(7).toString()});
             });
  for (Review &line : lines) {
    if (!line.waiting())
      continue;
    if (line.amount.agorot() > 0)
      line.payer = propose(store, line.line);
    else
      line.spending = spendingFor(store, line.line);
  }
  return lines;
}

void setAside(const db::Store &store, qint64 line, const QString &reason) {
  store.exec(QStringLiteral("UPDATE bank_lines SET aside = ? WHERE id = ?"),
             {reason.trimmed().isEmpty() ? QVariant() : QVariant(reason.trimmed()), line});
}

QString methodOf(const Review &line) {
  return (line.description + line.details).contains(texts::standingOrder) ? texts::standingOrder : texts::bankTransfer;
}

} // namespace domiva::bank
