#include "store/journal.h"

#include "store/database.h"
#include "text/dates.h"
#include "text/input.h"
#include "text/texts.h"

namespace domiva::journal {

const Source &payments() {
  static const Source source{QStringLiteral("incoming"), QStringLiteral("inputdate"), QStringLiteral("\"for\""),
                             texts::income};
  return source;
}

const Source &expenses() {
  static const Source source{QStringLiteral("removals"), QStringLiteral("\"Date\""), QStringLiteral("category"),
                             texts::expense};
  return source;
}

void add(const db::Store &store, const Source &source, qint64 reciept, const QString &forText, Money amount,
         const QDate &date) {
  store.exec(QStringLiteral("INSERT INTO trans (\"for\", amount, inputdate, \"Type\", source_table, source_reciept) "
                            "VALUES (?, ?, ?, ?, ?, ?)"),
             {forText, amount.agorot(), dates::toIso(date), source.type, source.table, reciept});
}

QString cancel(const db::Store &store, const Source &source, qint64 reciept, const QString &reason, const QDate &day) {
  if (const QString refusal = input::checkTexts({{texts::reasonField, reason}}); !refusal.isEmpty())
    return refusal;
  auto row = store.exec(QStringLiteral("SELECT %1, %2, amount, cancelled FROM %3 WHERE reciept = ?")
                            .arg(source.dateColumn, source.forColumn, source.table),
                        {reciept});
  if (!row.next()) {
    db::checkRead(row);
    return texts::rowMissing;
  }
  if (!row.isNull(3))
    return texts::alreadyCancelled;
  const QDate date = dates::fromIso(row.value(0).toString());
  const QString forText = row.value(1).toString();
  const Money amount = Money::fromAgorot(row.value(2).toLongLong());
  row.finish();
  store.exec(QStringLiteral("UPDATE %1 SET cancelled = ?, cancel_reason = ? WHERE reciept = ?").arg(source.table),
             {dates::toIso(day), reason, reciept});
  add(store, source, reciept, forText, Money() - amount, date);
  return {};
}

} // namespace domiva::journal
