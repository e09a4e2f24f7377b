#include "data/database.h"

#include "common/texts.h"
#include "common/today.h"
#include "data/dates.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QCursor>
#include <QGuiApplication>
#include <QStandardPaths>
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

QString openedPath;
bool inLog = false; // the file was switched to the write-ahead log by us
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
  const QByteArray header = file.read(16);
  return header.isEmpty() || header == QByteArray("SQLite format 3\0", 16);
}

QString withDetail(const QString &reason, const QSqlError &error) {
  return reason + QLatin1Char('\n') + error.text();
}

// What a refused opening says, from the engine's error.
QString openingFailure(const QSqlError &error) {
  switch (error.nativeErrorCode().toInt() & 0xff) {
  case 5: // SQLITE_BUSY
  case 6: // SQLITE_LOCKED
    return withDetail(texts::dbLocked, error);
  case 8: // SQLITE_READONLY
    return withDetail(texts::dbReadOnly, error);
  case 11: // SQLITE_CORRUPT
    return withDetail(texts::dbDamaged, error);
  case 26: // SQLITE_NOTADB
    return withDetail(texts::dbNotSqlite, error);
  default:
    return withDetail(texts::dbCannotRead, error);
  }
}

// The file as the program keeps it open: readers and one writer side by
// side, and a committed row survives a power cut. Switching to the log
// writes to the file, so it waits until the file has passed its check.
QString useLog(QSqlDatabase database) {
  QSqlQuery mode(database);
  if (!mode.exec(QStringLiteral("PRAGMA journal_mode = WAL")))
    return openingFailure(mode.lastError());
  mode.finish();
  inLog = true;
  return {};
}

QString writeThrough(QSqlDatabase database) {
  QSqlQuery mode(database);
  return mode.exec(QStringLiteral("PRAGMA synchronous = FULL")) ? QString() : openingFailure(mode.lastError());
}

// Whether the file behind `database` is whole, by SQLite's quick_check.
QString wholeFile(const QSqlDatabase &database, bool &damaged) {
  damaged = false;
  QSqlQuery check(database);
  if (!check.exec(QStringLiteral("PRAGMA quick_check"))) {
    damaged = (check.lastError().nativeErrorCode().toInt() & 0xff) == 11;
    return openingFailure(check.lastError());
  }
  if (!check.next() || check.value(0).toString() != QLatin1String("ok")) {
    damaged = true;
    // The first of SQLite's findings is detail enough.
    return texts::dbDamaged + QLatin1Char('\n') + check.value(0).toString().section(QLatin1Char('\n'), 0, 1);
  }
  return {};
}

// Whether the file is one of ours and not newer than this program.
QString ours(const QSqlDatabase &database, int &version, bool &damaged) {
  QSqlQuery check(database);
  const auto failure = [&] {
    damaged = (check.lastError().nativeErrorCode().toInt() & 0xff) == 11;
    return openingFailure(check.lastError());
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
// for later; creates the schema in an empty file and brings an older one up
// to date. Changes nothing in a file it refuses.
QString prepare(Check check, bool &damaged) {
  QSqlDatabase database = QSqlDatabase::database();
  int found = 0;
  if (check == Check::Now)
    if (QString refusal = wholeFile(database, damaged); !refusal.isEmpty())
      return refusal;
  if (QString refusal = ours(database, found, damaged); !refusal.isEmpty())
    return refusal;
  if (found < schemaVersion) {
    if (check == Check::Later)
      if (QString refusal = wholeFile(database, damaged); !refusal.isEmpty())
        return refusal;
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
  if (QString failure = useLog(database); !failure.isEmpty())
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
Opened failed(const QString &reason) {
  Opened opened;
  opened.failure = reason;
  return opened;
}
} // namespace

bool makeFolders(const QString &folder) {
  QStringList missing;
  for (QString current = QDir::cleanPath(folder); !QFileInfo::exists(current);
       current = QFileInfo(current).absolutePath()) {
    missing.prepend(current);
    if (QFileInfo(current).absolutePath() == current)
      break;
  }
  for (const QString &path : std::as_const(missing))
    if (!QDir().mkdir(path) || !QFile::setPermissions(path, ownerOnlyFolder))
      return false;
  return QFileInfo(folder).isDir();
}

QString inspect(const QSqlDatabase &database, int &version, bool &damaged) {
  if (QString refusal = wholeFile(database, damaged); !refusal.isEmpty())
    return refusal;
  return ours(database, version, damaged);
}

QString defaultPath() {
  return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/db1.sqlite");
}

Opened open(const QString &path, Check check) {
  const QFileInfo info(path);
  const QString folder = info.absolutePath();
  if (!makeFolders(folder))
    return failed(texts::dbCannotCreateFolder);
  const bool created = !info.exists();
  if (created) {
    QFile file(info.absoluteFilePath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, ownerOnlyFile))
      return failed(texts::dbCannotCreateFile);
  } else if (!info.isFile() || !looksLikeSqlite(info.absoluteFilePath())) {
    return failed(texts::dbNotSqlite);
  } else if (!canWrite(info)) {
    return failed(texts::dbReadOnly);
  }
  Opened opened;
  // Another program's folder is its owner's business; ours and the file are kept private.
  const bool ownFolder = QFileInfo(defaultPath()).absolutePath() == folder;
  if (tighten(info.absoluteFilePath(), ownerOnlyFile) | (ownFolder && tighten(folder, ownerOnlyFolder)))
    opened.notice = texts::permissionsTightened.arg(info.absoluteFilePath());
  {
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    database.setDatabaseName(info.absoluteFilePath());
    // Another program writing at the same moment gets a wait, not an error.
    database.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyMilliseconds));
    if (!database.open()) {
      opened.failure = openingFailure(database.lastError());
      close();
      return opened;
    }
  }
  opened.failure = prepare(check, opened.damaged);
  if (!opened.failure.isEmpty()) {
    close();
    if (created)
      QFile::remove(info.absoluteFilePath());
    return opened;
  }
  openedPath = info.absoluteFilePath();
#ifdef Q_OS_UNIX
  openedIdentity = identityOf(openedPath);
#endif
  return opened;
}

QString path() { return openedPath; }

void setBusyWait(int milliseconds) { busyMilliseconds = milliseconds; }

void readOnly(const QString &path, const QString &name, const std::function<void(QSqlDatabase &)> &work) {
  {
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    database.setDatabaseName(path);
    database.setConnectOptions(
        QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=%1").arg(busyMilliseconds.load()));
    database.open(); // `work` sees whether it opened
    work(database);
    database.close();
  }
  QSqlDatabase::removeDatabase(name);
}

void checkBehind(std::function<void()> done) {
  if (!checkDue || runningCheck.valid())
    return;
  runningCheck = std::async(std::launch::async, [path = openedPath, done] {
    // A connection of its own, so the program's one stays free for the windows.
    Opened result;
    readOnly(path, QStringLiteral("domiva-whole-file-check"), [&](QSqlDatabase &database) {
      result.failure = database.isOpen() ? wholeFile(database, result.damaged) : openingFailure(database.lastError());
    });
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
  if (verdict.failure.isEmpty())
    verdict.failure = useLog(QSqlDatabase::database());
  return verdict;
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
      if (database.isOpen() && inLog)
        QSqlQuery(database).exec(QStringLiteral("PRAGMA journal_mode = DELETE"));
      database.close();
    }
    QSqlDatabase::removeDatabase(name);
  }
  inLog = false;
  openedPath.clear();
}

QString explain(const Error &error) {
  QString cause;
  switch (error.code() & 0xff) {
  case 5:
  case 6: cause = texts::causeBusy; break;
  case 8: cause = texts::causeReadOnly; break;
  case 13: cause = texts::causeFull; break;
  case 11:
  case 26: cause = texts::causeDamaged; break;
  case 10:
  case 14: cause = texts::causeDisk; break;
  default: return error.text();
  }
  return cause + QLatin1Char('\n') + error.text();
}

QSqlQuery exec(const QString &sql, const QVariantList &values) {
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

void checkRead(const QSqlQuery &query) {
  if (query.lastError().isValid())
    throw Error(query.lastError());
}

Transaction::Transaction() {
  // Nothing is written into a file before it has passed its check.
  if (const Opened file = checked(); !file.failure.isEmpty())
    throw Error(file.failure);
#ifdef Q_OS_UNIX
  // Writing into a file that was deleted or replaced would lose the rows.
  if (!openedPath.isEmpty() && identityOf(openedPath) != openedIdentity)
    throw Error(texts::dbReplaced);
#endif
  QSqlQuery begin(QSqlDatabase::database());
  exec(QStringLiteral("PRAGMA busy_timeout = 0"));
  if (!begin.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
    // Another program is writing: wait for it, and show that we wait.
    const bool cursor = qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
    if (cursor)
      QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    exec(QStringLiteral("PRAGMA busy_timeout = %1").arg(busyMilliseconds));
    const bool begun = begin.exec(QStringLiteral("BEGIN IMMEDIATE"));
    if (cursor)
      QGuiApplication::restoreOverrideCursor();
    if (!begun)
      throw Error(begin.lastError());
  }
  exec(QStringLiteral("PRAGMA busy_timeout = %1").arg(busyMilliseconds));
  m_open = true;
}

Transaction::~Transaction() {
  if (m_open)
    QSqlQuery(QSqlDatabase::database()).exec(QStringLiteral("ROLLBACK"));
}

void Transaction::commit() {
  QSqlQuery end(QSqlDatabase::database());
  if (!end.exec(QStringLiteral("COMMIT")))
    throw Error(end.lastError());
  m_open = false;
}

} // namespace domiva::db
