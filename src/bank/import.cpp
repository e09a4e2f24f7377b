#include "bank/import.h"

#include "text/dates.h"
#include "text/texts.h"
#include "text/today.h"

#include <QFileInfo>

#include <algorithm>

namespace domiva::bank {

Kept keep(const db::Store &store, const Statement &statement, const QString &fileName) {
  if (!statement.failure.isEmpty())
    return {statement.failure};
  const QStringList identity = identities(statement);
  const auto [first, last] = std::minmax_element(statement.lines.begin(), statement.lines.end(),
                                                 [](const Line &a, const Line &b) { return a.date < b.date; });
  Kept kept;
  try {
    db::Transaction transaction(store);
    const qint64 id =
        store
            .exec(QStringLiteral("INSERT INTO bank_statements (file, bank, account, first_date, "
                                 "last_date, lines, added, imported) VALUES (?, ?, ?, ?, ?, ?, 0, ?)"),
                  {QFileInfo(fileName).fileName(), statement.bank, statement.account, dates::toIso(first->date),
                   dates::toIso(last->date), statement.lines.size(), dates::momentToIso(now())})
            .lastInsertId()
            .toLongLong();
    for (qsizetype i = 0; i < statement.lines.size(); ++i) {
      const Line &line = statement.lines[i];
      const auto added =
          store.exec(QStringLiteral("INSERT INTO bank_lines (statement, identity, inputdate, value_date, description, "
                                    "reference, details, note, amount, balance) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?) "
                                    "ON CONFLICT (identity) DO NOTHING"),
                     {id, identity[i], dates::toIso(line.date),
                      line.valueDate.isValid() ? QVariant(dates::toIso(line.valueDate)) : QVariant(), line.description,
                      line.reference, line.details, line.note, line.amount.agorot(),
                      line.balance ? QVariant(line.balance->agorot()) : QVariant()});
      ++(added.numRowsAffected() > 0 ? kept.added : kept.already);
    }
    if (!kept.added) {
      kept.message = texts::bankAllIn.arg(kept.already);
      return kept; // nothing new: the statement leaves no row either
    }
    store.exec(QStringLiteral("UPDATE bank_statements SET added = ? WHERE id = ?"), {kept.added, id});
    transaction.commit();
  } catch (const db::Error &e) {
    return {db::saveFailure(e)};
  }
  kept.message = texts::bankKept.arg(kept.added).arg(kept.already);
  return kept;
}

} // namespace domiva::bank
