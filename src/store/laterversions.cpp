#include "store/laterversions.h"

#include "store/dialect.h"

#include <span>

// The schema's later versions: statements alone, each run as the engine
// reads it.
namespace domiva::db {
namespace {
// Version 6: the bank's statements, each of their lines once whatever file
// it came in, what each line was recorded as, who pays for which apartment,
// and what a debit's words are spent on.
const char *const version6[] = {
    R"(CREATE TABLE bank_statements (
         id INTEGER PRIMARY KEY AUTOINCREMENT,
         file TEXT NOT NULL,
         bank TEXT NOT NULL,
         account TEXT NOT NULL DEFAULT '',
         first_date TEXT NOT NULL,
         last_date TEXT NOT NULL,
         lines INTEGER NOT NULL,
         added INTEGER NOT NULL,
         imported TEXT NOT NULL))",
    R"(CREATE TABLE bank_lines (
         id INTEGER PRIMARY KEY AUTOINCREMENT,
         statement INTEGER NOT NULL REFERENCES bank_statements (id),
         identity TEXT NOT NULL UNIQUE,
         inputdate TEXT NOT NULL,
         value_date TEXT,
         description TEXT NOT NULL DEFAULT '',
         reference TEXT NOT NULL DEFAULT '',
         details TEXT NOT NULL DEFAULT '',
         note TEXT NOT NULL DEFAULT '',
         amount INTEGER NOT NULL,
         balance INTEGER))",
    "CREATE INDEX bank_lines_inputdate ON bank_lines (inputdate)",
    // What a line was recorded as: one payment or several (a deposit of
    // cheques), an expense; a cancelled one no longer counts.
    R"(CREATE TABLE bank_records (
         line INTEGER NOT NULL REFERENCES bank_lines (id),
         source_table TEXT NOT NULL,
         source_reciept INTEGER NOT NULL,
         amount INTEGER NOT NULL))",
    "CREATE INDEX bank_records_line ON bank_records (line)",
    // The apartments a payer (an account, or a name as the bank writes it)
    // was matched to before.
    R"(CREATE TABLE bank_payers (
         payer TEXT NOT NULL,
         apartment INTEGER NOT NULL,
         UNIQUE (payer, apartment)))",
    // The expense a debit's words were last recorded as.
    R"(CREATE TABLE bank_rules (
         words TEXT NOT NULL UNIQUE,
         category TEXT NOT NULL,
         supplyer TEXT NOT NULL DEFAULT ''))",
};

// Version 7: a payment of several parts (dues and a levy, or months across
// the year's end) is one receipt: each further row names its first. The
// columns the user named for a bank whose statements the program does not
// know, by their headers.
const char *const version7[] = {"ALTER TABLE incoming ADD COLUMN part_of INTEGER",
                                // A bank line set aside: recorded as nothing, waiting no more; its reason.
                                "ALTER TABLE bank_lines ADD COLUMN aside TEXT",
                                R"(CREATE TABLE bank_layouts (
                                     bank TEXT NOT NULL UNIQUE,
                                     date TEXT NOT NULL,
                                     description TEXT NOT NULL,
                                     reference TEXT NOT NULL DEFAULT '',
                                     debit TEXT NOT NULL DEFAULT '',
                                     credit TEXT NOT NULL DEFAULT '',
                                     amount TEXT NOT NULL DEFAULT '',
                                     balance TEXT NOT NULL DEFAULT ''))"};

// Version 8: collecting what is owed: the reminder letters' texts as the
// treasurer keeps them, the committee's account they name and who is billed
// for the dues, every letter sent, and the owners who do not live there.
const char *const version8[] = {R"(CREATE TABLE letter_texts (
                                     stage INTEGER NOT NULL UNIQUE CHECK (stage BETWEEN 1 AND 3),
                                     body TEXT NOT NULL))",
                                // Who is billed for the dues, and the account the letters name.
                                R"(CREATE TABLE collection (
                                     id INTEGER NOT NULL UNIQUE CHECK (id = 1),
                                     bank TEXT NOT NULL DEFAULT '',
                                     branch TEXT NOT NULL DEFAULT '',
                                     account TEXT NOT NULL DEFAULT '',
                                     dues_to TEXT NOT NULL DEFAULT 'occupant' CHECK (dues_to IN ('occupant', 'owner'))))",
                                // An apartment's owner where it is not its resident.
                                R"(CREATE TABLE owners (
                                     apartment INTEGER NOT NULL UNIQUE,
                                     name TEXT NOT NULL,
                                     phone TEXT NOT NULL DEFAULT '',
                                     email TEXT NOT NULL DEFAULT '',
                                     address TEXT NOT NULL DEFAULT ''))",
                                R"(CREATE TABLE reminders (
                                     id INTEGER PRIMARY KEY AUTOINCREMENT,
                                     apartment INTEGER NOT NULL,
                                     person TEXT NOT NULL,
                                     stage INTEGER NOT NULL CHECK (stage BETWEEN 1 AND 3),
                                     amount INTEGER NOT NULL,
                                     sent TEXT NOT NULL,
                                     deadline TEXT))",
                                "CREATE INDEX reminders_apartment ON reminders (apartment, sent)"};

// Version 9: who lived in or owned an apartment before a sale or a move, to
// the day the next came, so papers name whoever was there on their dates;
// and the payments by year, for who owes.
const char *const version9[] = {R"(CREATE TABLE former_people (
                                     id INTEGER PRIMARY KEY AUTOINCREMENT,
                                     apartment INTEGER NOT NULL,
                                     role TEXT NOT NULL CHECK (role IN ('occupant', 'owner', 'both')),
                                     name TEXT NOT NULL,
                                     phone TEXT NOT NULL DEFAULT '',
                                     email TEXT NOT NULL DEFAULT '',
                                     address TEXT NOT NULL DEFAULT '',
                                     until TEXT NOT NULL))",
                                "CREATE INDEX former_people_apartment ON former_people (apartment, until)",
                                // Who owes reads the first year's payments and the opening debt's.
                                "CREATE INDEX incoming_year ON incoming (year, inputdate) WHERE cancelled IS NULL"};

// Version 10: each apartment's share of the building's costs (its floor
// area or registered share, in hundredths), how each levy was split, the
// yearly budgets, and the expenses' documents.
const char *const version10[] = {R"(CREATE TABLE apartment_shares (
                                      apartment INTEGER NOT NULL UNIQUE,
                                      share INTEGER NOT NULL CHECK (share > 0)))",
                                 ("ALTER TABLE levies ADD COLUMN split TEXT NOT NULL DEFAULT 'equal' "
                                  "CHECK (split IN ('equal', 'share'))"),
                                 // The whole a levy by shares raises, as typed, and
                                 // the share each charge was worked from.
                                 "ALTER TABLE levies ADD COLUMN total INTEGER",
                                 "ALTER TABLE levy_charges ADD COLUMN share INTEGER",
                                 // The year's budget the meeting approved: by expense
                                 // type, and the income expected by what it is for.
                                 R"(CREATE TABLE budgets (
                                      year INTEGER NOT NULL,
                                      kind TEXT NOT NULL CHECK (kind IN ('expense', 'income')),
                                      name TEXT NOT NULL,
                                      amount INTEGER NOT NULL CHECK (amount > 0),
                                      UNIQUE (year, kind, name)))",
                                 // An expense's documents (a scanned invoice), kept
                                 // with the books so every copy of them carries them.
                                 R"(CREATE TABLE expense_documents (
                                      id INTEGER PRIMARY KEY AUTOINCREMENT,
                                      expense INTEGER NOT NULL,
                                      name TEXT NOT NULL,
                                      content BLOB NOT NULL,
                                      added TEXT NOT NULL))",
                                 "CREATE INDEX expense_documents_expense ON expense_documents (expense)"};

// Version 11: the periods closed once the meeting approved their accounts,
// and each reopening with its reason; the funds the money is kept apart
// in, the fund a levy raises and an expense is paid from (NULL: the
// running account), and the transfers between them.
const char *const version11[] = {R"(CREATE TABLE closings (
                                      id INTEGER PRIMARY KEY AUTOINCREMENT,
                                      through TEXT NOT NULL,
                                      approved TEXT NOT NULL,
                                      closed_at TEXT NOT NULL,
                                      reopened_at TEXT,
                                      reopen_reason TEXT))",
                                 // Where its money is kept (an account, a deposit) and a deposit's maturity.
                                 R"(CREATE TABLE funds (
                                      id INTEGER PRIMARY KEY AUTOINCREMENT,
                                      name TEXT NOT NULL UNIQUE,
                                      kept TEXT NOT NULL DEFAULT '',
                                      matures TEXT))",
                                 "ALTER TABLE levies ADD COLUMN fund INTEGER",
                                 "ALTER TABLE removals ADD COLUMN fund INTEGER",
                                 R"(CREATE TABLE fund_transfers (
                                      id INTEGER PRIMARY KEY AUTOINCREMENT,
                                      inputdate TEXT NOT NULL,
                                      from_fund INTEGER,
                                      to_fund INTEGER,
                                      amount INTEGER NOT NULL CHECK (amount > 0),
                                      detail TEXT NOT NULL DEFAULT ''))"};

// The last day closed, NULL while nothing is.
constexpr const char *closedThrough = "(SELECT max(through) FROM closings WHERE reopened_at IS NULL)";

// The rows a closed period's papers are made of, each by the day it
// counts from (%1 the row as it was or will be): no window, import,
// repair or second bookkeeper writes one dated in a closed period.
const std::pair<const char *, const char *> guarded[] = {
    {"incoming", "%1.inputdate"},
    {"removals", "%1.\"Date\""},
    {"trans", "%1.inputdate"},
    {"fund_transfers", "%1.inputdate"},
    {"dues", "(%1.year || '-' || CASE WHEN %1.month < 10 THEN '0' ELSE '' END || %1.month || '-01')"},
    {"opening_debts", "(SELECT opendate FROM registery)"},
    {"levies", "%1.first_due"},
    {"levy_charges", "(SELECT first_due FROM levies WHERE id = %1.levy)"}};

// The building's start, opening balance and size shape every paper since
// the start: none changes once anything is closed.
QString registeryChanged(const char *differs) {
  return QStringLiteral("%1 IS NOT NULL AND (NEW.opendate %2 OLD.opendate OR NEW.openbalance %2 OLD.openbalance "
                        "OR NEW.apartments %2 OLD.apartments)")
      .arg(QLatin1String(closedThrough), QLatin1String(differs));
}

void guardClosedPeriods(const Store &store) {
  const QString closed = QLatin1String(closedThrough);
  const auto on = [&](const char *day, const char *row) {
    return QString::fromUtf8(day).replace(QStringLiteral("%1"), QLatin1String(row)) + QStringLiteral(" <= ") + closed;
  };
  if (store.engine() == Engine::Sqlite) {
    const QString trigger = QStringLiteral("CREATE TRIGGER %1_closed_%2 BEFORE %3 ON %1 WHEN %4 "
                                           "BEGIN SELECT RAISE(ABORT, '%5'); END");
    const QString refusal = QLatin1String(closedMarker);
    for (const auto &[table, day] : guarded) {
      const QString name = QLatin1String(table);
      store.exec(trigger.arg(name, QStringLiteral("insert"), QStringLiteral("INSERT"), on(day, "NEW"), refusal));
      store.exec(trigger.arg(name, QStringLiteral("update"), QStringLiteral("UPDATE"),
                             on(day, "OLD") + QStringLiteral(" OR ") + on(day, "NEW"), refusal));
      store.exec(trigger.arg(name, QStringLiteral("delete"), QStringLiteral("DELETE"), on(day, "OLD"), refusal));
    }
    store.exec(trigger.arg(QStringLiteral("registery"), QStringLiteral("update"), QStringLiteral("UPDATE"),
                           registeryChanged("IS NOT"), refusal));
    return;
  }
  // A server's trigger runs a function; OLD is NULL on an insert, NEW on a delete.
  const auto guard = [&](const QString &table, const QString &events, const QString &condition) {
    store.exec(QStringLiteral("CREATE FUNCTION %1_closed() RETURNS trigger LANGUAGE plpgsql AS $$BEGIN "
                              "IF %2 THEN RAISE EXCEPTION '%3'; END IF; "
                              "IF TG_OP = 'DELETE' THEN RETURN OLD; END IF; RETURN NEW; END$$")
                   .arg(table, condition, QLatin1String(closedMarker)));
    store.exec(QStringLiteral("CREATE TRIGGER %1_closed BEFORE %2 ON %1 FOR EACH ROW EXECUTE FUNCTION %1_closed()")
                   .arg(table, events));
  };
  for (const auto &[table, day] : guarded)
    guard(QLatin1String(table), QStringLiteral("INSERT OR UPDATE OR DELETE"),
          QStringLiteral("(TG_OP <> 'INSERT' AND %1) OR (TG_OP <> 'DELETE' AND %2)").arg(on(day, "OLD"), on(day, "NEW")));
  guard(QStringLiteral("registery"), QStringLiteral("UPDATE"), registeryChanged("IS DISTINCT FROM"));
}

} // namespace

void runLater(const Store &store, int version) {
  static const std::span<const char *const> statements[] = {version6, version7, version8,
                                                            version9, version10, version11};
  for (const char *statement : statements[version - 6])
    store.exec(forEngine(store, statement));
  if (version == 11)
    guardClosedPeriods(store);
}

} // namespace domiva::db
