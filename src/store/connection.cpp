#include "store/session.h"

#include "store/backups.h"
#include "store/files.h"
#include "text/texts.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryFile>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

// Opening and closing the program's one connection: the file's folder and
// permissions, a new file made whole, the write-ahead log.
namespace domiva::db {
namespace session {
std::atomic<int> busyMilliseconds = 5000;
QString openedPath;
Access openedAccess = Access::ReadWrite;
bool inLog = false;
int openTransactions = 0;
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
  case 13: reason = texts::dbFull; break;    // SQLITE_FULL
  case 26:
    reason = texts::dbNotSqlite;
    break; // SQLITE_NOTADB
  // A disk error on a disk with no room left is the full disk.
  default: reason = files::diskFull(path) ? texts::dbFull : texts::dbCannotRead;
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
} // namespace session

using namespace session;

namespace {
constexpr auto ownerOnlyFile = QFile::ReadOwner | QFile::WriteOwner;
constexpr auto ownerOnlyFolder = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
constexpr auto othersAccess =
    QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
// Smaller than any SQLite file: its header alone is 100 bytes.
constexpr qint64 headerSize = 100;

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
        return texts::dbUpgradeFailed + QLatin1Char('\n') + failure;
    try {
      Transaction transaction(program());
      upgrade(program(), found, schemaVersion);
      transaction.commit();
    } catch (const Error &e) {
      return texts::withDetail(texts::dbUpgradeFailed, e.text());
    }
  } else if (check == Check::Later) {
    checkDue = true;
    return writeThrough(database);
  }
  if (QString failure = useLog(database, opened.notice); !failure.isEmpty())
    return failure;
  return writeThrough(database);
}

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
    database.setConnectOptions(
        QStringLiteral("%1QSQLITE_BUSY_TIMEOUT=%2")
            .arg(access == Access::ReadOnly ? QStringLiteral("QSQLITE_OPEN_READONLY;") : QString())
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

QString defaultPath() {
  return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/db1.sqlite");
}

Opened open(const QString &path, Check check, Access access) {
  if (isServer(path))
    return openServer(path, access);
  const QFileInfo info(path);
  const QString file = info.absoluteFilePath();
  const QString folder = info.absolutePath();
  if (access == Access::ReadOnly) {
    if (!info.exists())
      return failed(texts::dbMissing);
    // A write cut short (a killed upgrade) left its journal: only a writer
    // can roll it back, and reading past it would read half a write.
    if (QFileInfo(file + QStringLiteral("-journal")).size() > 0)
      return failed(texts::dbInterrupted);
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
  Opened opened = connect(file, check, access);
  if (!opened.failure.isEmpty())
    return opened; // a file refused is left as it was found, its mode too
  QString notice;
  if (access == Access::ReadWrite) {
    // Another program's folder is its owner's business; ours and the file are kept private.
    const bool ownFolder = QFileInfo(defaultPath()).absolutePath() == folder;
    const bool fileTightened = tighten(file, ownerOnlyFile); // both are tightened, whatever the first did
    // The log, made while the file was checked, took the file's mode then.
    for (const char *log : {"-wal", "-shm"})
      tighten(file + QLatin1String(log), ownerOnlyFile);
    const bool folderTightened = ownFolder && tighten(folder, ownerOnlyFolder);
    if (fileTightened || folderTightened)
      notice = texts::permissionsTightened.arg(files::shown(file));
  }
  opened.notice =
      notice + (notice.isEmpty() || opened.notice.isEmpty() ? QString() : QStringLiteral("\n\n")) + opened.notice;
  return opened;
}

QString path() { return openedPath; }

void setBusyWait(int milliseconds) { busyMilliseconds = milliseconds; }

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
  openedServer.clear();
  serverReader = false;
  openedAccess = Access::ReadWrite;
}

} // namespace domiva::db
