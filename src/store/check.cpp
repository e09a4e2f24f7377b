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

} // namespace domiva::db
