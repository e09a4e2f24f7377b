#include "store/session.h"

#include "store/files.h"
#include "text/texts.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QSqlRecord>

// Moving a building's books whole: from a file to a server, from a server
// to a file, or between two buildings.
namespace domiva::db {

using namespace session;

namespace {
// Every table, and the order its rows are read in: the order they were
// added, which the rules read back (SQLite's rowid, the server's column
// of that name), or their key.
const std::pair<const char *, const char *> tablesInOrder[] = {{"registery", "apartments"},
                                                               {"neighbors", "rowid"},
                                                               {"category", "rowid"},
                                                               {"supplyer", "rowid"},
                                                               {"incoming", "reciept"},
                                                               {"removals", "reciept"},
                                                               {"trans", "rowid"},
                                                               {"anual_report", "apartment, year"},
                                                               {"dues", "rowid"},
                                                               {"opening_debts", "apartment"},
                                                               {"levies", "id"},
                                                               {"levy_charges", "levy, apartment"},
                                                               {"bank_statements", "id"},
                                                               {"bank_lines", "id"},
                                                               {"bank_records", "line, source_table, source_reciept"},
                                                               {"bank_payers", "payer, apartment"},
                                                               {"bank_rules", "words"},
                                                               {"bank_layouts", "bank"},
                                                               {"letter_texts", "stage"},
                                                               {"collection", "id"},
                                                               {"owners", "apartment"},
                                                               {"reminders", "id"},
                                                               {"former_people", "id"},
                                                               {"apartment_shares", "apartment"},
                                                               {"budgets", "year, kind, name"},
                                                               {"expense_documents", "id"},
                                                               {"funds", "id"},
                                                               {"fund_transfers", "id"},
                                                               // Last: once a period is closed, no row of it is written.
                                                               {"closings", "id"}};

// The columns numbered by the engine: their next numbers come over too.
const std::pair<const char *, const char *> numbered[] = {{"incoming", "reciept"},
                                                          {"removals", "reciept"},
                                                          {"levies", "id"},
                                                          {"bank_statements", "id"},
                                                          {"bank_lines", "id"},
                                                          {"reminders", "id"},
                                                          {"former_people", "id"},
                                                          {"expense_documents", "id"},
                                                          {"funds", "id"},
                                                          {"fund_transfers", "id"},
                                                          {"closings", "id"}};

const QString copyConnection = QStringLiteral("domiva-copy");

// The last number handed out for a table's numbered column, even when its
// row is gone (a receipt number is never given twice).
qint64 lastNumber(const Store &store, const QString &table, const QString &column) {
  const QString sql =
      store.engine() == Engine::Sqlite
          ? QStringLiteral("SELECT max(coalesce((SELECT seq FROM sqlite_sequence WHERE name = '%1'), 0), "
                           "coalesce(max(%2), 0)) FROM %1")
          : QStringLiteral(
                "SELECT greatest(coalesce(pg_sequence_last_value(pg_get_serial_sequence('%1', '%2')::regclass), 0), "
                "coalesce(max(%2), 0)) FROM %1");
  try {
    return store.one(sql.arg(table, column)).value(0).toLongLong();
  } catch (const Error &e) {
    // A reader without the right to the numbers still to come would make a
    // copy that hands some out again: refused, saying what to grant.
    if (e.code() == 8)
      throw Error(texts::withDetail(texts::copyNumbersDenied, e.text()));
    throw;
  }
}

void setLastNumber(const Store &store, const QString &table, const QString &column, qint64 last) {
  if (last == 0)
    return;
  if (store.engine() == Engine::Sqlite) {
    // Rows with their numbers already put the table in sqlite_sequence; a
    // table left empty is added to it.
    store.exec(QStringLiteral("DELETE FROM sqlite_sequence WHERE name = ?"), {table});
    store.exec(QStringLiteral("INSERT INTO sqlite_sequence (name, seq) VALUES (?, ?)"), {table, last});
  } else {
    store.exec(QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', '%2'), ?)").arg(table, column), {last});
  }
}

// The rows of every table, from `from` into the empty books of `to`.
void copyRows(const Store &from, const Store &to) {
  for (const auto &[name, order] : tablesInOrder) {
    const QString table = QString::fromLatin1(name);
    QStringList columns;
    const QSqlRecord record = from.exec(QStringLiteral("SELECT * FROM %1 LIMIT 0").arg(table)).record();
    for (int c = 0; c < record.count(); ++c)
      if (record.fieldName(c) != QLatin1String("rowid"))
        columns << QLatin1Char('"') + record.fieldName(c) + QLatin1Char('"');
    const QString list = columns.join(QLatin1Char(','));
    QSqlQuery insert(to.database());
    if (!insert.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(table, list, QStringList(columns.size(), QStringLiteral("?")).join(QLatin1Char(',')))))
      throw Error(insert.lastError());
    qint64 rows = 0;
    from.each(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3").arg(list, table, QString::fromLatin1(order)), {},
              [&](const QSqlQuery &row) {
                for (int c = 0; c < columns.size(); ++c)
                  insert.bindValue(c, row.value(c));
                if (!insert.exec())
                  throw Error(insert.lastError());
                ++rows;
              });
    // Counted again in the copy: every row, or no copy.
    if (to.one(QStringLiteral("SELECT count(*) FROM %1").arg(table)).value(0).toLongLong() != rows)
      throw Error(texts::rowMissing);
  }
  for (const auto &[table, column] : numbered) {
    const QString name = QString::fromLatin1(table), key = QString::fromLatin1(column);
    setLastNumber(to, name, key, lastNumber(from, name, key));
  }
}

// Makes the books in the connection's empty building or file, in one
// transaction, and fills them.
QString makeCopy(const QSqlDatabase &database) {
  const Store to = Store::beingMade(copyConnection);
  int found = 0;
  bool damaged = false;
  if (QString refusal = ours(database, found, damaged); !refusal.isEmpty())
    return refusal;
  if (found != 0)
    return texts::copyTargetNotEmpty;
  const Store from = program();
  try {
    // Every table as it stood at one moment, whoever writes meanwhile.
    from.exec(from.engine() == Engine::Sqlite ? QStringLiteral("BEGIN")
                                              : QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"));
    to.exec(QStringLiteral("BEGIN"));
    upgrade(to, 0, schemaVersion);
    // The new books' own first rows give way to the copied ones.
    to.exec(QStringLiteral("DELETE FROM registery"));
    to.exec(QStringLiteral("DELETE FROM category"));
    copyRows(from, to);
    to.exec(QStringLiteral("COMMIT"));
    from.exec(QStringLiteral("COMMIT"));
  } catch (const Error &e) {
    QSqlQuery(database).exec(QStringLiteral("ROLLBACK"));
    QSqlQuery(from.database()).exec(QStringLiteral("ROLLBACK"));
    return explain(e);
  }
  return {};
}

template <class Work> QString onConnection(Work work) {
  QString failure = work();
  QSqlDatabase::database(copyConnection, false).close();
  QSqlDatabase::removeDatabase(copyConnection);
  return failure;
}
} // namespace

QString copyBooks(const QString &target) {
  QString failure;
  if (isServer(target)) {
    const QString building = buildingOf(target);
    if (building.isEmpty())
      return texts::copyFailed.arg(texts::noSuchBuilding.arg(QString()));
    failure = onConnection([&] {
      QString refusal = connectServer(target, copyConnection);
      // A building not on the server yet is made for the copy.
      if (refusal == texts::noSuchBuilding.arg(building)) {
        QSqlDatabase::removeDatabase(copyConnection);
        refusal = addBuilding(target, building);
        if (refusal.isEmpty())
          refusal = connectServer(target, copyConnection);
      }
      return refusal.isEmpty() ? makeCopy(QSqlDatabase::database(copyConnection, false)) : refusal;
    });
    return failure.isEmpty() ? QString() : texts::copyFailed.arg(failure);
  }
  // Only a path with nothing at it becomes the copy; it is made whole
  // beside its place, then put there.
  if (QFile::exists(target))
    return texts::copyFailed.arg(texts::copyTargetNotEmpty);
  // What an earlier copy cut short left beside it goes, as any other interrupted write's.
  files::removeLeftovers(QFileInfo(target).absolutePath());
  const bool made = files::writeAtomically(target, [&](const QString &temporary) {
    failure = onConnection([&] {
      QSqlDatabase file = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), copyConnection);
      file.setDatabaseName(temporary);
      if (!file.open())
        return openingFailure(file.lastError(), temporary);
      return makeCopy(file);
    });
    if (failure.isEmpty())
      QFile::setPermissions(temporary, QFile::ReadOwner | QFile::WriteOwner);
    return failure.isEmpty();
  });
  if (made)
    return {};
  return texts::copyFailed.arg(failure.isEmpty() ? texts::dbCannotCreateFile : failure);
}

} // namespace domiva::db
