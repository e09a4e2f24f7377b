#include "bank/import.h"

#include "text/dates.h"
#include "text/input.h"
#include "text/banktexts.h"
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

QList<Columns> namedColumns(const db::Store &store) {
  QList<Columns> named;
  store.each(QStringLiteral("SELECT bank, date, description, reference, debit, credit, amount, balance FROM "
                            "bank_layouts ORDER BY bank"),
             {}, [&named](const QSqlQuery &row) {
               named << Columns{row.value(0).toString(), row.value(1).toString(), row.value(2).toString(),
                                row.value(3).toString(), row.value(4).toString(), row.value(5).toString(),
                                row.value(6).toString(), row.value(7).toString()};
             });
  return named;
}

QString nameColumns(const db::Store &store, const Columns &c) {
  const QString bank = c.bank.trimmed();
  if (bank.isEmpty())
    return texts::bankColumnsNoBank;
  if (const QString refusal = input::checkTexts({{texts::bankNameField, bank}}); !refusal.isEmpty())
    return refusal;
  if (c.date.isEmpty() || c.description.isEmpty() || (c.amount + c.debit + c.credit).isEmpty())
    return texts::bankColumnsRequired;
  if (!c.amount.isEmpty() && !(c.debit + c.credit).isEmpty())
    return texts::bankColumnsAmountTwice;
  QStringList chosen;
  for (const QString &header : {c.date, c.description, c.reference, c.debit, c.credit, c.amount, c.balance}) {
    if (header.isEmpty())
      continue;
    if (chosen.contains(headerText(header)))
      return texts::bankColumnsTwice.arg(header);
    chosen << headerText(header);
  }
  try {
    db::Transaction transaction(store);
    store.exec(QStringLiteral("DELETE FROM bank_layouts WHERE bank = ?"), {bank});
    store.exec(QStringLiteral("INSERT INTO bank_layouts (bank, date, description, reference, debit, credit, amount, "
                              "balance) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
               {bank, c.date, c.description, c.reference, c.debit, c.credit, c.amount, c.balance});
    transaction.commit();
  } catch (const db::Error &e) {
    return db::saveFailure(e);
  }
  return {};
}

} // namespace domiva::bank
