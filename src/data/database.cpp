#include "data/database.h"

#include "backups/backups.h"
#include "common/texts.h"
#include "common/today.h"
#include "data/dates.h"
#include "data/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QCursor>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QThread>
#include <QTemporaryFile>
#include <atomic>
#include <future>

#ifdef Q_OS_UNIX
#include <qplatformdefs.h>
#include <unistd.h>
#endif

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

const char *const starterCategories[] = {"ניקיון", "חשמל",    "מים",   "מעלית",
                                         "גינון",  "תיקונים", "ביטוח", "אחר"};

void createVersion1() {
  for (const char *statement : version1)
    exec(QString::fromUtf8(statement));
  exec(QStringLiteral("INSERT INTO registery VALUES (0, 0, 0, ?, '', '')"),
       {dates::toIso(QDate(today().year(), 1, 1))});
  for (const char *name : starterCategories)
    exec(QStringLiteral("INSERT INTO category (category) VALUES (?)"), {QString::fromUtf8(name)});
}

// Links each journal row of an older file to the row it records: the first
// unlinked journal row of the same type, date, purpose and amount, in order.
void linkJournal(const QString &table, const QString &dateColumn, const QString &forColumn, const QString &type) {
  QHash<QString, QList<qint64>> unlinked;
  auto journal = exec(QStringLiteral("SELECT rowid, inputdate, \"for\", amount FROM trans WHERE \"Type\" = ? "
                                     "ORDER BY rowid"),
                      {type});
  const auto key = [](const QSqlQuery &q, int from) {
    return q.value(from).toString() + QChar(0x1f) + q.value(from + 1).toString() + QChar(0x1f) +
           q.value(from + 2).toString();
  };
  while (journal.next())
    unlinked[key(journal, 1)] << journal.value(0).toLongLong();
  journal.finish();
  auto rows = exec(QStringLiteral("SELECT reciept, %1, %2, amount FROM %3 ORDER BY reciept")
                       .arg(dateColumn, forColumn, table));
  QList<std::pair<qint64, qint64>> links; // reciept, journal rowid
  while (rows.next()) {
    auto found = unlinked.find(key(rows, 1));
    if (found != unlinked.end() && !found->isEmpty())
      links.append({rows.value(0).toLongLong(), found->takeFirst()});
  }
  rows.finish();
  for (const auto &[reciept, rowId] : links)
    exec(QStringLiteral("UPDATE trans SET source_table = ?, source_reciept = ? WHERE rowid = ?"),
         {table, reciept, rowId});
}

void createVersion2() {
  for (const char *statement : version2)
    exec(QString::fromUtf8(statement));
  linkJournal(QStringLiteral("incoming"), QStringLiteral("inputdate"), QStringLiteral("\"for\""), texts::income);
  linkJournal(QStringLiteral("removals"), QStringLiteral("\"Date\""), QStringLiteral("category"), texts::expense);
}

constexpr auto ownerOnlyFile = QFile::ReadOwner | QFile::WriteOwner;
constexpr auto ownerOnlyFolder = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
constexpr auto othersAccess = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther |
                              QFile::WriteOther | QFile::ExeOther;
std::atomic<int> busyMilliseconds = 5000; // read by the check behind a window too
// Smaller than any SQLite file: its header alone is 100 bytes.
constexpr qint64 headerSize = 100;
// The write-ahead log is folded back into the file past this size.
constexpr qint64 logLimit = 4 * 1024 * 1024;

QString openedPath;
Access openedAccess = Access::ReadWrite;
bool inLog = false; // the file was switched to the write-ahead log by us
int openTransactions = 0; // the one connection's, on the window thread
// The check left for later: due until checked() gives its verdict, which
// then stands until close().
bool checkDue = false;
std::future<Opened> runningCheck;
Opened verdict;
#ifdef Q_OS_UNIX
std::pair<dev_t, ino_t> openedIdentity{};
std::pair<dev_t, ino_t> identityOf(const QString &path) {
  QT_STATBUF status;
  if (QT_STAT(QFile::encodeName(path).constData(), &status) != 0)
    return {};
  return {status.st_dev, status.st_ino};
}
#endif


// Takes group and other access away from a path the user owns; true when it
// had any.
bool tighten(const QString &path, QFileDevice::Permissions ownerOnly) {
#ifdef Q_OS_UNIX
  const QFileInfo info(path);
  if (!info.exists() || info.ownerId() != ::getuid() || !(info.permissions() & othersAccess))
    return false;
  return QFile::setPermissions(path, (info.permissions() & ~othersAccess) | ownerOnly);
#else
  Q_UNUSED(path);
  Q_UNUSED(ownerOnly);
  return false;
#endif
}

// Writing is tested by writing: opening the file for writing changes
// nothing, and SQLite also needs to make its journal beside it.
bool canWrite(const QFileInfo &info) {
  QFile file(info.absoluteFilePath());
  if (!file.open(QIODevice::ReadWrite))
    return false;
  file.close();
  QTemporaryFile probe(info.absolutePath() + QStringLiteral("/.domiva-probe-XXXXXX"));
  return probe.open();
}

bool looksLikeSqlite(const QString &path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return false;
  return file.read(16) == QByteArray("SQLite format 3\0", 16);
}

// A disk error on a disk with no room left is the full disk.
bool diskFull(const QString &path) {
  const QStorageInfo disk(QFileInfo(path).absolutePath());
  return disk.isValid() && disk.bytesAvailable() < 64 * 1024;
}

// What a refused opening says, from the engine's error.
QString openingFailure(const QSqlError &error, const QString &path) {
  QString reason;
  switch (error.nativeErrorCode().toInt() & 0xff) {
  case 5: // SQLITE_BUSY
  case 6: // SQLITE_LOCKED
    reason = texts::dbLocked;
    break;
  case 8: reason = texts::dbReadOnly; break; // SQLITE_READONLY
  case 11: reason = texts::dbDamaged; break; // SQLITE_CORRUPT
  case 13: reason = texts::dbFull; break; // SQLITE_FULL
  case 26: reason = texts::dbNotSqlite; break; // SQLITE_NOTADB
  default: reason = diskFull(path) ? texts::dbFull : texts::dbCannotRead;
  }
  return texts::withDetail(reason, error.text());
}

// The file as the program keeps it open: readers and one writer side by
// side, and a committed row survives a power cut. Switching to the log
// writes to the file, so it waits until the file has passed its check. A
// file that stays in the older mode is still safe, but the user is told.
QString useLog(QSqlDatabase database, QString &notice) {
  QSqlQuery mode(database);
  if (!mode.exec(QStringLiteral("PRAGMA journal_mode = WAL")))
    return openingFailure(mode.lastError(), openedPath);
  inLog = mode.next() && mode.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) == 0;
  mode.finish();
  if (!inLog)
    notice += (notice.isEmpty() ? QString() : QStringLiteral("\n\n")) + texts::noLog;
  // The log is opened here at once and held: a reader beside it (the
  // backups, the checks) then shares it instead of making one of its own
  // that would outlive the switch back at close.
  else if (!mode.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")))
    return openingFailure(mode.lastError(), openedPath);
  // A checkpoint that resets the log also cuts its file back to this size.
  mode.exec(QStringLiteral("PRAGMA journal_size_limit = %1").arg(logLimit));
  return {};
}

QString writeThrough(QSqlDatabase database) {
  QSqlQuery mode(database);
  return mode.exec(QStringLiteral("PRAGMA synchronous = FULL")) ? QString()
                                                                : openingFailure(mode.lastError(), openedPath);
}

// Whether the file behind `database` is whole, by SQLite's quick_check.
QString wholeFile(const QSqlDatabase &database, bool &damaged) {
  damaged = false;
  QSqlQuery check(database);
  if (!check.exec(QStringLiteral("PRAGMA quick_check"))) {
    damaged = (check.lastError().nativeErrorCode().toInt() & 0xff) == 11;
    return openingFailure(check.lastError(), database.databaseName());
  }
  if (!check.next() || check.value(0).toString() != QLatin1String("ok")) {
    damaged = true;
    // The first of SQLite's findings is detail enough.
    return texts::withDetail(texts::dbDamaged, check.value(0).toString().section(QLatin1Char('\n'), 0, 1));
  }
  return {};
}

// Whether the file is one of ours and not newer than this program.
QString ours(const QSqlDatabase &database, int &version, bool &damaged) {
  QSqlQuery check(database);
  const auto failure = [&] {
    damaged = (check.lastError().nativeErrorCode().toInt() & 0xff) == 11;
    return openingFailure(check.lastError(), database.databaseName());
  };
  if (!check.exec(QStringLiteral("PRAGMA user_version")) || !check.next())
    return failure();
  version = check.value(0).toInt();
  check.finish();
  if (version > schemaVersion)
    return texts::dbTooNew;
  if (!check.exec(QStringLiteral("SELECT count(*), count(CASE WHEN name IN ('incoming', 'anual_report', "
                                 "'registery') THEN 1 END) FROM sqlite_master WHERE type = 'table'")) ||
      !check.next())
    return failure();
  const int all = check.value(0).toInt();
  const int ours = check.value(1).toInt();
  if ((version == 0 && all != 0) || (version > 0 && ours != 3))
    return texts::dbNotOurs;
  return {};
}

// Checks the open file is ours and current, and whole unless that is left
// for later; creates the schema in a new file and brings an older one up
// to date, after a backup of it as it was. Changes nothing in a file it
// refuses, nor in any file opened to read only.
QString prepare(const QString &path, Check check, Access access, Opened &opened) {
  QSqlDatabase database = QSqlDatabase::database();
  int found = 0;
  if (check == Check::Now)
    if (QString refusal = wholeFile(database, opened.damaged); !refusal.isEmpty())
      return refusal;
  if (QString refusal = ours(database, found, opened.damaged); !refusal.isEmpty())
    return refusal;
  if (access == Access::ReadOnly) {
    if (found == 0)
      return texts::dbNotOurs; // an empty database holds no books
    if (found < schemaVersion)
      return texts::dbNeedsUpgrade;
    checkDue = check == Check::Later;
    return {};
  }
  if (found < schemaVersion) {
    if (check == Check::Later)
      if (QString refusal = wholeFile(database, opened.damaged); !refusal.isEmpty())
        return refusal;
    if (found > 0)
      if (QString failure = backups::beforeUpgrade(path); !failure.isEmpty())
        return texts::dbUpgradeFailed.arg(failure);
    try {
      Transaction transaction;
      upgrade(found, schemaVersion);
      transaction.commit();
    } catch (const Error &e) {
      return texts::dbUpgradeFailed.arg(e.text());
    }
  } else if (check == Check::Later) {
    checkDue = true;
    return writeThrough(database);
  }
  if (QString failure = useLog(database, opened.notice); !failure.isEmpty())
    return failure;
  return writeThrough(database);
}

} // namespace

void upgrade(int from, int to) {
  using Step = void (*)();
  static const Step steps[] = {createVersion1, createVersion2};
  static_assert(std::size(steps) == schemaVersion);
  for (int version = from; version < to; ++version)
    steps[version]();
  exec(QStringLiteral("PRAGMA user_version = %1").arg(to));
}

namespace {
Opened failed(const QString &reason, bool damaged = false) {
  Opened opened;
  opened.failure = reason;
  opened.damaged = damaged;
  return opened;
}

// Opens `path` as the program's one connection and prepares it.
Opened connect(const QString &path, Check check, Access access) {
  Opened opened;
  {
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    database.setDatabaseName(path);
    // Another program writing at the same moment gets a wait, not an error.
    database.setConnectOptions(QStringLiteral("%1QSQLITE_BUSY_TIMEOUT=%2")
                                   .arg(access == Access::ReadOnly ? QStringLiteral("QSQLITE_OPEN_READONLY;")
                                                                   : QString())
                                   .arg(busyMilliseconds.load()));
    if (!database.open()) {
      opened.failure = openingFailure(database.lastError(), path);
      close();
      return opened;
    }
  }
  openedPath = path;
  openedAccess = access;
#ifdef Q_OS_UNIX
  openedIdentity = identityOf(path);
#endif
  opened.failure = prepare(path, check, access, opened);
  if (!opened.failure.isEmpty())
    close();
  return opened;
}

// A new file is made whole in a folder of its own, then put in its place:
// an interrupted start never leaves an empty or half-made file behind.
QString create(const QString &path) {
  QString failure;
  const bool made = files::writeAtomically(path, [&](const QString &temporary) {
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, ownerOnlyFile)) {
      failure = texts::dbCannotCreateFile;
      return false;
    }
    file.close();
    failure = connect(temporary, Check::Now, Access::ReadWrite).failure;
    close();
    return failure.isEmpty() && !QFileInfo::exists(path);
  });
  return made || !failure.isEmpty() ? failure : texts::dbCannotCreateFile;
}
} // namespace

QString inspect(const QSqlDatabase &database, int &version, bool &damaged) {
  if (QString refusal = wholeFile(database, damaged); !refusal.isEmpty())
    return refusal;
  return ours(database, version, damaged);
}

QString defaultPath() {
  return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/db1.sqlite");
}

Opened open(const QString &path, Check check, Access access) {
  const QFileInfo info(path);
  const QString file = info.absoluteFilePath();
  const QString folder = info.absolutePath();
  if (access == Access::ReadOnly) {
    if (!info.exists())
      return failed(texts::dbMissing);
  } else if (!files::makeFolders(folder)) {
    return failed(texts::dbCannotCreateFolder);
  } else if (!info.exists()) {
    // Only a path with nothing at it is a new building.
    if (QString failure = create(file); !failure.isEmpty())
      return failed(failure);
  }
  const QFileInfo found(file);
  if (found.isFile() && found.size() < headerSize)
    return failed(texts::dbTooShort.arg(found.size()), true);
  if (!found.isFile() || !looksLikeSqlite(file))
    return failed(texts::dbNotSqlite);
  if (access == Access::ReadWrite && !canWrite(found))
    return failed(texts::dbReadOnly);
  QString notice;
  if (access == Access::ReadWrite) {
    // Another program's folder is its owner's business; ours and the file are kept private.
    const bool ownFolder = QFileInfo(defaultPath()).absolutePath() == folder;
    if (tighten(file, ownerOnlyFile) | (ownFolder && tighten(folder, ownerOnlyFolder)))
      notice = texts::permissionsTightened.arg(files::shown(file));
  }
  Opened opened = connect(file, check, access);
  if (!opened.failure.isEmpty())
    return opened;
  opened.notice = notice + (notice.isEmpty() || opened.notice.isEmpty() ? QString() : QStringLiteral("\n\n")) +
                  opened.notice;
  return opened;
}

QString path() { return openedPath; }

void setBusyWait(int milliseconds) { busyMilliseconds = milliseconds; }

void readOnly(const QString &path, const QString &name, const std::function<void(QSqlDatabase &)> &work) {
  // A name of this thread's own, so two threads never share a connection.
  const QString connection =
      name + QLatin1Char('-') + QString::number(reinterpret_cast<quintptr>(QThread::currentThreadId()));
  {
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
    database.setDatabaseName(path);
    database.setConnectOptions(
        QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=%1").arg(busyMilliseconds.load()));
    database.open(); // `work` sees whether it opened
    work(database);
    database.close();
  }
  QSqlDatabase::removeDatabase(connection);
}

QString checkFile(const QString &path, bool *damaged) {
  QString failure;
  bool found = false;
  readOnly(path, QStringLiteral("domiva-whole-file-check"), [&](QSqlDatabase &database) {
    failure = database.isOpen() ? wholeFile(database, found) : openingFailure(database.lastError(), path);
  });
  if (damaged)
    *damaged = found;
  return failure;
}

void checkBehind(std::function<void()> done) {
  if (!checkDue || runningCheck.valid())
    return;
  runningCheck = std::async(std::launch::async, [path = openedPath, done] {
    // A connection of its own, so the program's one stays free for the windows.
    Opened result;
    result.failure = checkFile(path, &result.damaged);
    QMetaObject::invokeMethod(QCoreApplication::instance(), done, Qt::QueuedConnection);
    return result;
  });
}

Opened checked() {
  if (!checkDue)
    return verdict;
  checkDue = false;
  if (runningCheck.valid())
    verdict = runningCheck.get();
  else
    verdict.failure = wholeFile(QSqlDatabase::database(), verdict.damaged);
  if (verdict.failure.isEmpty() && openedAccess == Access::ReadWrite)
    verdict.failure = useLog(QSqlDatabase::database(), verdict.notice);
  return verdict;
}

bool tidyLog() {
  if (!inLog || openTransactions > 0 || QFileInfo(openedPath + QStringLiteral("-wal")).size() <= logLimit)
    return false;
  // TRUNCATE waits for no reader: what a reader still needs stays, the rest is folded in.
  return QSqlQuery(QSqlDatabase::database()).exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
}

void close() {
  if (runningCheck.valid())
    runningCheck.wait();
  runningCheck = {};
  checkDue = false;
  verdict = {};
  const QString name = QString::fromLatin1(QSqlDatabase::defaultConnection);
  if (QSqlDatabase::contains(name)) {
    {
      QSqlDatabase database = QSqlDatabase::database(name, false);
      // Back to one file, so it can be copied as it is; another program
      // still using it keeps the log until it closes in turn. A file never
      // switched by us (or refused) is left untouched.
      if (database.isOpen() && inLog) {
        QSqlQuery(database).exec(QStringLiteral("PRAGMA journal_mode = DELETE"));
      }
      database.close();
    }
    QSqlDatabase::removeDatabase(name);
  }
  inLog = false;
  openTransactions = 0;
  openedPath.clear();
  openedAccess = Access::ReadWrite;
}

QString cause(int code) {
  switch (code & 0xff) {
  case 5:
  case 6: return texts::causeBusy;
  case 8: return texts::causeReadOnly;
  case 13: return texts::causeFull;
  case 11:
  case 26: return texts::causeDamaged;
  case 10:
  case 14: return texts::causeDisk;
  default: return texts::causeEngine;
  }
}

QString explain(const Error &error) {
  // An error of ours is already said in Hebrew; the engine's gets its cause.
  if (error.code() == 0)
    return error.text();
  return texts::withDetail(cause(error.code()), error.text());
}

namespace {
// What changes the file; such a statement outside a transaction gets one.
bool writes(const QString &sql) {
  static const QRegularExpression verb(QStringLiteral("^\\s*(INSERT|UPDATE|DELETE|REPLACE|CREATE|DROP|ALTER)\\b"),
                                       QRegularExpression::CaseInsensitiveOption);
  return verb.match(sql).hasMatch();
}

QSqlQuery run(const QString &sql, const QVariantList &values) {
  QSqlQuery query(QSqlDatabase::database());
  // Read forward only: nothing read is kept behind the query.
  query.setForwardOnly(true);
  if (!query.prepare(sql))
    throw Error(query.lastError());
  for (const QVariant &value : values) {
    // An empty field is stored as an empty text, never as NULL, however
    // the text was made.
    if (value.typeId() == QMetaType::QString && value.toString().isNull())
      query.addBindValue(QStringLiteral(""));
    else
      query.addBindValue(value);
  }
  if (!query.exec())
    throw Error(query.lastError());
  return query;
}
} // namespace

QSqlQuery exec(const QString &sql, const QVariantList &values) {
  if (openTransactions > 0 || !writes(sql))
    return run(sql, values);
  // Every write passes the guarded transaction's checks, whoever wrote it.
  Transaction transaction;
  QSqlQuery query = run(sql, values);
  transaction.commit();
  return query;
}

void checkRead(const QSqlQuery &query) {
  if (query.lastError().isValid())
    throw Error(query.lastError());
}

Transaction::Transaction() {
  if (openTransactions > 0)
    throw Error(texts::nestedTransaction);
  if (openedAccess == Access::ReadOnly)
    throw Error(texts::causeReadOnly);
  // Nothing is written into a file before it has passed its check.
  if (const Opened file = checked(); !file.failure.isEmpty())
    throw Error(file.failure);
#ifdef Q_OS_UNIX
  // Writing into a file that was deleted or replaced would lose the rows.
  if (!openedPath.isEmpty() && identityOf(openedPath) != openedIdentity) {
    // Our log now stands beside another file: emptied into ours, so that
    // nothing of it is ever replayed onto that one after a crash.
    QSqlQuery(QSqlDatabase::database()).exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    throw Error(texts::dbReplaced);
  }
#endif
  QSqlQuery begin(QSqlDatabase::database());
  run(QStringLiteral("PRAGMA busy_timeout = 0"), {});
  bool begun = begin.exec(QStringLiteral("BEGIN IMMEDIATE"));
  if (!begun) {
    // Another program is writing: wait for it, and show that we wait.
    const bool cursor = qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
    if (cursor)
      QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    const auto restore = qScopeGuard([cursor] {
      if (cursor)
        QGuiApplication::restoreOverrideCursor();
    });
    run(QStringLiteral("PRAGMA busy_timeout = %1").arg(busyMilliseconds), {});
    begun = begin.exec(QStringLiteral("BEGIN IMMEDIATE"));
  }
  if (!begun)
    throw Error(begin.lastError());
  m_open = true;
  ++openTransactions;
  try {
    run(QStringLiteral("PRAGMA busy_timeout = %1").arg(busyMilliseconds), {});
  } catch (...) {
    rollback();
    throw;
  }
}

Transaction::~Transaction() {
  if (m_open)
    rollback();
}

void Transaction::rollback() {
  m_open = false;
  --openTransactions;
  // A failed rollback leaves the file as SQLite's journal has it: told, since it can't be thrown from here.
  if (QSqlQuery end(QSqlDatabase::database()); !end.exec(QStringLiteral("ROLLBACK")))
    qWarning("domiva: rollback failed: %s", qPrintable(end.lastError().text()));
}

void Transaction::commit() {
  QSqlQuery end(QSqlDatabase::database());
  if (!end.exec(QStringLiteral("COMMIT")))
    throw Error(end.lastError());
  m_open = false;
  --openTransactions;
}

} // namespace domiva::db
