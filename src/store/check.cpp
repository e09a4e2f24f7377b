#include "store/session.h"

#include "text/texts.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSqlQuery>
#include <QThread>

// Whether a file is whole and ours: at start-up (now, or behind the menu),
// before a backup, and on a reader's connection of its own.
namespace domiva::db {
namespace session {

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

int versionOf(const QSqlDatabase &database, QSqlError &error) {
  QSqlQuery query(database);
  const auto read = [&](const QString &sql) {
    if (query.exec(sql) && query.next())
      return query.value(0).toInt();
    error = query.lastError();
    return 0;
  };
  if (engineOf(database) == Engine::Sqlite)
    return read(QStringLiteral("PRAGMA user_version"));
  // A server's building keeps it in a table of its own; none is version 0.
  if (read(QStringLiteral("SELECT count(*) FROM pg_class WHERE relname = 'books_version' AND relkind = 'r' AND "
                          "relnamespace = (SELECT oid FROM pg_namespace WHERE nspname = current_schema())")) == 0)
    return 0;
  return read(QStringLiteral("SELECT max(version) FROM books_version"));
}

// Whether the file is one of ours and not newer than this program.
QString ours(const QSqlDatabase &database, int &version, bool &damaged) {
  const bool server = engineOf(database) == Engine::Postgres;
  const auto refused = [&](const QSqlError &error) {
    damaged = (codeOf(error) & 0xff) == 11;
    return server ? texts::withDetail(texts::serverUnreachable, error.text())
                  : openingFailure(error, database.databaseName());
  };
  QSqlError error;
  version = versionOf(database, error);
  if (error.isValid())
    return refused(error);
  if (version > schemaVersion)
    return server ? texts::serverTooNew : texts::dbTooNew;
  const QString tables =
      server ? QStringLiteral("SELECT count(*), count(CASE WHEN relname IN ('incoming', 'anual_report', 'registery') "
                              "THEN 1 END) FROM pg_class WHERE relkind = 'r' AND relnamespace = "
                              "(SELECT oid FROM pg_namespace WHERE nspname = current_schema())")
             : QStringLiteral("SELECT count(*), count(CASE WHEN name IN ('incoming', 'anual_report', "
                              "'registery') THEN 1 END) FROM sqlite_master WHERE type = 'table'");
  QSqlQuery check(database);
  if (!check.exec(tables) || !check.next())
    return refused(check.lastError());
  const int all = check.value(0).toInt();
  const int ours = check.value(1).toInt();
  if ((version == 0 && all != 0) || (version > 0 && ours != 3))
    return server ? texts::serverNotOurs : texts::dbNotOurs;
  return {};
}

} // namespace session

using namespace session;

QString inspect(const QSqlDatabase &database, int &version, bool &damaged) {
  if (QString refusal = wholeFile(database, damaged); !refusal.isEmpty())
    return refusal;
  return ours(database, version, damaged);
}

void readOnly(const QString &path, const QString &name, const std::function<void(QSqlDatabase &)> &work) {
  // A name of this thread's own, so two threads never share a connection.
  const QString connection =
      name + QLatin1Char('-') + QString::number(reinterpret_cast<quintptr>(QThread::currentThreadId()));
  {
    if (isServer(path)) {
      // A building that can't be opened is no reader at all.
      if (!connectServer(path, connection).isEmpty())
        QSqlDatabase::database(connection, false).close();
    } else {
      QSqlDatabase file = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
      file.setDatabaseName(path);
      file.setConnectOptions(
          QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=%1").arg(busyMilliseconds.load()));
      file.open(); // `work` sees whether it opened
    }
    QSqlDatabase database = QSqlDatabase::database(connection, false);
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

} // namespace domiva::db
