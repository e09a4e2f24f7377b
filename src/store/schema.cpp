#include "store/database.h"
#include "store/dialect.h"
#include "store/laterversions.h"

#include "text/dates.h"
#include "text/months.h"
#include "text/texts.h"
#include "text/today.h"

#include <QHash>

#include <algorithm>
#include <map>

// The schema by version: each step brings a file up one version.
namespace domiva::db {
namespace {

// Version 1: the tables of the screens.
const char *const version1[] = {
    R"(CREATE TABLE neighbors (
         apartment INTEGER NOT NULL UNIQUE,
         family TEXT NOT NULL DEFAULT '',
         status TEXT NOT NULL DEFAULT '',
         phone1 TEXT NOT NULL DEFAULT '',
         phone2 TEXT NOT NULL DEFAULT '',
         email TEXT NOT NULL DEFAULT ''))",
    R"(CREATE TABLE incoming (
         inputdate TEXT NOT NULL,
         apartment INTEGER NOT NULL,
         "for" TEXT NOT NULL DEFAULT '',
         detail TEXT NOT NULL DEFAULT '',
         from_month TEXT NOT NULL DEFAULT '',
         to_month TEXT NOT NULL DEFAULT '',
         payment TEXT NOT NULL DEFAULT '',
         amount INTEGER NOT NULL,
         reciept INTEGER PRIMARY KEY AUTOINCREMENT))",
    R"(CREATE TABLE removals (
         category TEXT NOT NULL DEFAULT '',
         "Date" TEXT NOT NULL,
         payby TEXT NOT NULL DEFAULT '',
         detail TEXT NOT NULL DEFAULT '',
         supplyer TEXT NOT NULL DEFAULT '',
         amount INTEGER NOT NULL,
         reciept INTEGER PRIMARY KEY AUTOINCREMENT))",
    R"(CREATE TABLE trans (
         inputdate TEXT NOT NULL,
         "for" TEXT NOT NULL DEFAULT '',
         amount INTEGER NOT NULL,
         "Type" TEXT NOT NULL))",
    R"(CREATE TABLE anual_report (
         apartment INTEGER NOT NULL,
         family TEXT NOT NULL DEFAULT '',
         year INTEGER NOT NULL,
         jan INTEGER, feb INTEGER, mer INTEGER, apr INTEGER, mai INTEGER, jun INTEGER,
         jul INTEGER, aug INTEGER, sep INTEGER, oct INTEGER, nov INTEGER, dec INTEGER,
         total INTEGER NOT NULL DEFAULT 0,
         depth INTEGER NOT NULL DEFAULT 0))",
    R"(CREATE TABLE registery (
         apartments INTEGER, monthly_pay INTEGER, openbalance INTEGER,
         opendate TEXT, street TEXT, city TEXT))",
    R"(CREATE TABLE supplyer (supplyer TEXT NOT NULL DEFAULT ''))",
    R"(CREATE TABLE category (category TEXT NOT NULL DEFAULT ''))",
    "CREATE UNIQUE INDEX anual_report_apartment_year ON anual_report (apartment, year)",
    "CREATE INDEX anual_report_year ON anual_report (year)",
    // The period sums and groupings of the balance read these indexes alone.
    R"(CREATE INDEX incoming_inputdate ON incoming (inputdate, "for", amount))",
    R"(CREATE INDEX removals_date ON removals ("Date", category, amount))",
    R"(CREATE INDEX trans_inputdate ON trans (inputdate, "for", "Type", amount))",
};

// Version 2: the year a payment's months belong to, cancelling with a trace,
// and each journal row's reference to the row it records. New columns go at
// the end, so the columns of version 1 keep their places.
const char *const version2[] = {
    "ALTER TABLE incoming ADD COLUMN year INTEGER",
    "UPDATE incoming SET year = CAST(substr(inputdate, 1, 4) AS INTEGER)",
    "ALTER TABLE incoming ADD COLUMN cancelled TEXT",
    "ALTER TABLE incoming ADD COLUMN cancel_reason TEXT",
    "ALTER TABLE removals ADD COLUMN cancelled TEXT",
    "ALTER TABLE removals ADD COLUMN cancel_reason TEXT",
    "ALTER TABLE trans ADD COLUMN source_table TEXT",
    "ALTER TABLE trans ADD COLUMN source_reciept INTEGER",
    // The balance counts valid rows only; its indexes hold just those.
    "DROP INDEX incoming_inputdate",
    R"(CREATE INDEX incoming_inputdate ON incoming (inputdate, "for", amount) WHERE cancelled IS NULL)",
    "DROP INDEX removals_date",
    R"(CREATE INDEX removals_date ON removals ("Date", category, amount) WHERE cancelled IS NULL)",
    // A matrix row is rebuilt from its apartment's payments of its year.
    "CREATE INDEX incoming_apartment_year ON incoming (apartment, year)",
    "CREATE INDEX trans_source ON trans (source_table, source_reciept)",
};

// Version 3: what is owed. Amounts in agorot everywhere (the matrix, the
// dues and the opening balance, as payments already were); the dues
// schedule; opening debts; levies, their charges, and the levy a payment
// pays; a payment's reference (אסמכתא). The schedule's rows are written by createVersion3 from what the
// matrix rows were made with.
const char *const version3[] = {
    "UPDATE registery SET monthly_pay = monthly_pay * 100, openbalance = openbalance * 100",
    "UPDATE anual_report SET jan = jan * 100, feb = feb * 100, mer = mer * 100, apr = apr * 100, mai = mai * 100, "
    "jun = jun * 100, jul = jul * 100, aug = aug * 100, sep = sep * 100, oct = oct * 100, nov = nov * 100, "
    "dec = dec * 100, total = total * 100, depth = depth * 100",
    // A row applies from its month on, to one apartment or (NULL) to all.
    R"(CREATE TABLE dues (
         year INTEGER NOT NULL,
         month INTEGER NOT NULL CHECK (month BETWEEN 1 AND 12),
         amount INTEGER NOT NULL,
         apartment INTEGER,
         UNIQUE (year, month, apartment)))",
    R"(CREATE TABLE opening_debts (
         apartment INTEGER NOT NULL UNIQUE,
         amount INTEGER NOT NULL))",
    // A levy is due in `instalments` monthly parts from `first_due` on.
    R"(CREATE TABLE levies (
         id INTEGER PRIMARY KEY AUTOINCREMENT,
         name TEXT NOT NULL UNIQUE,
         first_due TEXT NOT NULL,
         instalments INTEGER NOT NULL DEFAULT 1 CHECK (instalments >= 1)))",
    R"(CREATE TABLE levy_charges (
         levy INTEGER NOT NULL REFERENCES levies (id),
         apartment INTEGER NOT NULL,
         amount INTEGER NOT NULL,
         UNIQUE (levy, apartment)))",
    "ALTER TABLE incoming ADD COLUMN levy INTEGER",
    // The cheque's or the transfer's number.
    "ALTER TABLE incoming ADD COLUMN reference TEXT NOT NULL DEFAULT ''",
    "CREATE INDEX incoming_levy ON incoming (levy, apartment, inputdate, amount) WHERE levy IS NOT NULL",
};

// Version 4: when each payment was recorded and each row of the dues
// schedule saved, so a payment is weighed by the dues known when it was
// recorded and a later change never re-cuts it. An older file's rows have
// none: weighed by the schedule as it stands, as they were shown.
const char *const version4[] = {
    "ALTER TABLE dues ADD COLUMN entered TEXT",
    "ALTER TABLE incoming ADD COLUMN recorded TEXT",
};

// Version 5: what was paid for months before the books' start paid the
// opening debt, not those months: the matrix holds the books' months alone.
// Each such cell leaves its row, its total and its debt as a rebuild would
// leave them; the payments themselves are kept as they were typed.
void createVersion5(const Store &store) {
  for (int m = 0; m < 12; ++m)
    store.exec(
        QStringLiteral("UPDATE anual_report SET total = coalesce(total, 0) - %1, depth = coalesce(depth, 0) + %1, "
                       "%1 = NULL WHERE %1 IS NOT NULL AND year * 12 + %2 < (SELECT CAST(substr(opendate, 1, 4) "
                       "AS BIGINT) * 12 + CAST(substr(opendate, 6, 2) AS BIGINT) - 1 FROM registery)")
            .arg(months::columns()[m])
            .arg(m));
}

void run(const Store &store, const auto &statements) {
  for (const char *statement : statements)
    store.exec(forEngine(store, statement));
}

const char *const starterCategories[] = {"ניקיון", "חשמל", "מים", "מעלית", "גינון", "תיקונים", "ביטוח", "אחר"};

void createVersion1(const Store &store) {
  run(store, version1);
  store.exec(QStringLiteral("INSERT INTO registery VALUES (0, 0, 0, ?, '', '')"),
             {dates::toIso(QDate(today().year(), 1, 1))});
  for (const char *name : starterCategories)
    store.exec(QStringLiteral("INSERT INTO category (category) VALUES (?)"), {QString::fromUtf8(name)});
}

// Links each journal row of an older file to the row it records: the first
// unlinked journal row of the same type, date, purpose and amount, in order.
void linkJournal(const Store &store, const QString &table, const QString &dateColumn, const QString &forColumn,
                 const QString &type) {
  QHash<QString, QList<qint64>> unlinked;
  const auto key = [](const QSqlQuery &q, int from) {
    return q.value(from).toString() + QChar(0x1f) + q.value(from + 1).toString() + QChar(0x1f) +
           q.value(from + 2).toString();
  };
  store.each(QStringLiteral("SELECT rowid, inputdate, \"for\", amount FROM trans WHERE \"Type\" = ? ORDER BY rowid"),
             {type}, [&](const QSqlQuery &journal) { unlinked[key(journal, 1)] << journal.value(0).toLongLong(); });
  QList<std::pair<qint64, qint64>> links; // reciept, journal rowid
  store.each(
      QStringLiteral("SELECT reciept, %1, %2, amount FROM %3 ORDER BY reciept").arg(dateColumn, forColumn, table), {},
      [&](const QSqlQuery &rows) {
        auto found = unlinked.find(key(rows, 1));
        if (found != unlinked.end() && !found->isEmpty())
          links.append({rows.value(0).toLongLong(), found->takeFirst()});
      });
  for (const auto &[reciept, rowId] : links)
    store.exec(QStringLiteral("UPDATE trans SET source_table = ?, source_reciept = ? WHERE rowid = ?"),
               {table, reciept, rowId});
}

void createVersion2(const Store &store) {
  run(store, version2);
  // The journal's order, which SQLite keeps as its rowid, after the columns
  // the journal is written with.
  if (store.engine() == Engine::Postgres)
    store.exec(QStringLiteral("ALTER TABLE trans ADD COLUMN rowid BIGINT GENERATED BY DEFAULT AS IDENTITY UNIQUE"));
  linkJournal(store, QStringLiteral("incoming"), QStringLiteral("inputdate"), QStringLiteral("\"for\""), texts::income);
  linkJournal(store, QStringLiteral("removals"), QStringLiteral("\"Date\""), QStringLiteral("category"),
              texts::expense);
}

// The schedule an older file implies: the dues each year's matrix rows were
// made with (most of them: total + depth is twelve months of it), from the
// books' start, and the dues in force now from this year on. So no debt
// already shown changes with the upgrade.
void writeSchedule(const Store &store) {
  auto registery = store.exec(QStringLiteral("SELECT monthly_pay, opendate FROM registery LIMIT 1"));
  if (!registery.next()) {
    checkRead(registery); // a file that can't be read is not one without details
    return;
  }
  const qint64 current = registery.value(0).toLongLong();
  QDate start = dates::fromIso(registery.value(1).toString());
  registery.finish();
  if (!start.isValid())
    start = QDate(today().year(), 1, 1);
  // For each year, the yearly dues most of its rows were made with.
  std::map<int, std::map<qint64, int>> counts; // year → yearly dues → rows
  store.each(QStringLiteral("SELECT year, total + depth FROM anual_report WHERE year >= ? AND year < ?"),
             {start.year(), today().year()},
             [&](const QSqlQuery &rows) { ++counts[rows.value(0).toInt()][rows.value(1).toLongLong()]; });
  qint64 last = -1;
  const auto add = [&](int year, int month, qint64 monthly) {
    if (monthly == last || (last < 0 && monthly == 0))
      return;
    store.exec(QStringLiteral("INSERT INTO dues (year, month, amount) VALUES (?, ?, ?)"), {year, month, monthly});
    last = monthly;
  };
  for (const auto &[year, dues] : counts) {
    const qint64 yearly =
        std::max_element(dues.begin(), dues.end(), [](auto a, auto b) { return a.second < b.second; })->first;
    if (yearly >= 0 && yearly % 12 == 0)
      add(year, year == start.year() ? start.month() : 1, yearly / 12);
  }
  if (last < 0)
    add(start.year(), start.month(), current);
  else
    add(std::max(today().year(), start.year()), 1, current);
}

void createVersion3(const Store &store) {
  run(store, version3);
  writeSchedule(store);
}

} // namespace

void upgrade(const Store &store, int from, int to) {
  using Step = void (*)(const Store &);
  static const Step steps[] = {createVersion1,
                               createVersion2,
                               createVersion3,
                               [](const Store &store) { run(store, version4); },
                               createVersion5,
                               [](const Store &store) { runLater(store, 6); },
                               [](const Store &store) { runLater(store, 7); },
                               [](const Store &store) { runLater(store, 8); },
                               [](const Store &store) { runLater(store, 9); },
                               [](const Store &store) { runLater(store, 10); },
                               [](const Store &store) { runLater(store, 11); }};
  static_assert(std::size(steps) == schemaVersion);
  for (int version = from; version < to; ++version)
    steps[version](store);
  if (store.engine() == Engine::Sqlite) {
    store.exec(QStringLiteral("PRAGMA user_version = %1").arg(to));
    return;
  }
  store.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS books_version (version INTEGER NOT NULL)"));
  store.exec(QStringLiteral("DELETE FROM books_version"));
  store.exec(QStringLiteral("INSERT INTO books_version (version) VALUES (?)"), {to});
}

} // namespace domiva::db
