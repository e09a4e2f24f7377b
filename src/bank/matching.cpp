#include "bank/matching.h"

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

QString check(const db::Store &store, qint64 line, const QString &table, Money amount) {
  // What the line holds, and what of it was recorded and stands (not cancelled).
  const auto held = store.one(
      QStringLiteral("SELECT l.amount, coalesce((SELECT sum(r.amount) FROM bank_records r LEFT JOIN incoming i ON "
                     "r.source_table = 'incoming' AND i.reciept = r.source_reciept LEFT JOIN removals e ON "
                     "r.source_table = 'removals' AND e.reciept = r.source_reciept WHERE r.line = l.id AND "
                     "i.cancelled IS NULL AND e.cancelled IS NULL), 0) FROM bank_lines l WHERE l.id = ?"),
      {line});
  const Money whole = Money::fromAgorot(std::abs(held.value(0).toLongLong()));
  const Money recorded = Money::fromAgorot(held.value(1).toLongLong());
  const bool credit = held.value(0).toLongLong() > 0;
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

} // namespace domiva::bank
