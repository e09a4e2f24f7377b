#include "store/backups.h"

#include "store/building.h"
#include "store/database.h"
#include "store/files.h"
#include "text/texts.h"
#include "text/today.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>

namespace domiva::backups {
namespace {
const char *const timeFormat = "yyyyMMdd-HHmmss";

// "<base>-<time>.sqlite" in `folder`, with "-2", "-3"… when that name is
// taken, so a copy never overwrites another made in the same second.
QString freeName(const QString &folder, const QString &base, const QDateTime &made) {
  const QString stem = folder + QLatin1Char('/') + base + QLatin1Char('-') + made.toString(QLatin1String(timeFormat));
  QString name = stem + QStringLiteral(".sqlite");
  for (int n = 2; QFileInfo::exists(name) || QFileInfo::exists(name + QStringLiteral("-wal")); ++n)
    name = stem + QLatin1Char('-') + QString::number(n) + QStringLiteral(".sqlite");
  return name;
}

QString nameFor(const QString &databasePath, const QDateTime &made) {
  return freeName(folderFor(databasePath), QFileInfo(databasePath).completeBaseName(), made);
}

// Why a folder could not be made or written: the disk, or the permissions.
QString folderFailure(const QString &folder) {
  if (files::diskFull(folder))
    return texts::causeFull;
  const QFileInfo info(folder);
  if (info.exists() ? !info.isWritable() : !QFileInfo(info.absolutePath()).isWritable())
    return texts::causeReadOnly;
  return texts::causeNoFolder;
}

QString makeFolder(const QString &databasePath) {
  const QString folder = folderFor(databasePath);
  if (files::makeFolders(folder) && QFileInfo(folder).isWritable())
    return {};
  return texts::backupFailed.arg(files::shown(folder), folderFailure(folder));
}

// Backups are looked into on a connection of their own.
const QString checkConnection = QStringLiteral("domiva-backup-check");

qint64 rowsIn(const QString &backup) {
  const auto [payments, expenses] = counts(backup);
  return std::max<qint64>(payments, 0) + std::max<qint64>(expenses, 0);
}

bool copyInto(const QString &source, const QString &target) {
  return files::writeAtomically(target, [&](const QString &temporary) {
    return QFile::copy(source, temporary) && QFile::setPermissions(temporary, QFile::ReadOwner | QFile::WriteOwner);
  });
}

const QString logs[] = {QStringLiteral("-wal"), QStringLiteral("-shm")};
const QString fileAndLogs[] = {QString(), logs[0], logs[1]}; // the suffixes of a file kept whole

// A copy of the file as it is, with the log beside it, under a free name
// beside it (empty when it cannot be made): the file itself stays at its
// path until the restored one takes its place in one step.
QString copyAside(const QString &databasePath) {
  const QFileInfo info(databasePath);
  const QString aside = freeName(info.absolutePath(), info.completeBaseName() + QStringLiteral("-damaged"), now());
  for (const QString &suffix : fileAndLogs)
    if (QFileInfo::exists(databasePath + suffix) && !copyInto(databasePath + suffix, aside + suffix)) {
      for (const QString &made : fileAndLogs)
        QFile::remove(aside + made);
      return {};
    }
  return aside;
}
} // namespace

QString folderFor(const QString &databasePath) {
  return QFileInfo(databasePath).absolutePath() + QStringLiteral("/backups");
}

QList<Backup> list(const QString &databasePath) {
  const QRegularExpression form(QStringLiteral("^%1-(\\d{8}-\\d{6})(?:-(\\d+))?\\.sqlite$")
                                    .arg(QRegularExpression::escape(QFileInfo(databasePath).completeBaseName())));
  QList<std::pair<Backup, int>> found;
  const QDir folder(folderFor(databasePath));
  for (const QFileInfo &file : folder.entryInfoList(QDir::Files)) {
    const auto match = form.match(file.fileName());
    if (match.hasMatch())
      found.append(
          {{file.absoluteFilePath(), QDateTime::fromString(match.captured(1), QLatin1String(timeFormat)), file.size()},
           match.captured(2).toInt()});
  }
  std::sort(found.begin(), found.end(), [](const auto &a, const auto &b) {
    return a.first.made != b.first.made ? a.first.made > b.first.made : a.second > b.second;
  });
  QList<Backup> backups;
  for (const auto &backup : std::as_const(found))
    backups.append(backup.first);
  return backups;
}

std::pair<qint64, qint64> counts(const QString &backupPath) {
  std::pair<qint64, qint64> result{-1, -1};
  db::readOnly(backupPath, checkConnection, [&](QSqlDatabase &database) {
    QSqlQuery query(database);
    if (database.isOpen() &&
        query.exec(QStringLiteral("SELECT (SELECT count(*) FROM incoming), "
                                  "(SELECT count(*) FROM removals)")) &&
        query.next())
      result = {query.value(0).toLongLong(), query.value(1).toLongLong()};
  });
  return result;
}

namespace {
// The checked copy of write(), of the file at `source`.
QString copyTo(const QString &source, const QString &target) {
  // A copy of a damaged file would push good backups out; the file is
  // checked as it is now, not as it was at start.
  bool damaged = false;
  if (const QString failure = db::checkFile(source, &damaged); !failure.isEmpty())
    return damaged ? damagedNow(source, failure) : texts::backupFailed.arg(files::shown(target), failure);
  const auto before = counts(source);
  QString failure;
  const bool written = files::writeAtomically(target, [&](const QString &temporary) {
    db::readOnly(source, QStringLiteral("domiva-backup"), [&](QSqlDatabase &database) {
      QSqlQuery copy(database);
      if (!database.isOpen())
        failure = db::explain(db::Error(database.lastError()));
      else if (!copy.prepare(QStringLiteral("VACUUM INTO ?")) || (copy.addBindValue(temporary), !copy.exec()))
        failure = db::explain(db::Error(copy.lastError()));
    });
    if (!failure.isEmpty())
      return false;
    // Whole, and holding every row of the file (as before the copy, or as
    // after it when another program wrote meanwhile).
    if (failure = verify(temporary); !failure.isEmpty())
      return false;
    if (const auto copied = counts(temporary); copied != before && copied != counts(source)) {
      failure = texts::backupIncomplete;
      return false;
    }
    return QFile::setPermissions(temporary, QFile::ReadOwner | QFile::WriteOwner);
  });
  if (written)
    return {};
  if (failure.isEmpty())
    failure = folderFailure(QFileInfo(target).absolutePath());
  return texts::backupFailed.arg(files::shown(target), failure);
}
} // namespace

QString write(const QString &target) {
  // Books on a server are copied into a new file the program can open anywhere.
  return db::server().isEmpty() ? copyTo(db::path(), target) : db::copyBooks(target);
}

namespace {
// A new backup in the backups folder, made at `now`, then the rotation.
QString makeRotated(const QString &databasePath, const QDateTime &now) {
  if (const QString failure = makeFolder(databasePath); !failure.isEmpty())
    return failure;
  if (const QString failure = copyTo(databasePath, nameFor(databasePath, now)); !failure.isEmpty())
    return failure;
  rotate(databasePath, now);
  return {};
}
} // namespace

QString daily(const QString &databasePath, const QDateTime &now) {
  files::removeLeftovers(QFileInfo(databasePath).absolutePath());
  files::removeLeftovers(folderFor(databasePath));
  const QList<Backup> existing = list(databasePath);
  // A backup dated in the future (a clock set wrong once) does not count as today's.
  const auto newest = std::find_if(existing.begin(), existing.end(), [&](const Backup &b) { return b.made <= now; });
  if (newest != existing.end() && newest->made > now.addDays(-1))
    return {};
  return makeRotated(databasePath, now);
}

QString firstWithRows(const QString &databasePath, const QDateTime &now) {
  const QList<Backup> existing = list(databasePath);
  if (rowsIn(databasePath) == 0 ||
      std::any_of(existing.begin(), existing.end(), [](const Backup &b) { return rowsIn(b.path) > 0; }))
    return {};
  return makeRotated(databasePath, now);
}

QString beforeUpgrade(const QString &databasePath) {
  if (const QString failure = makeFolder(databasePath); !failure.isEmpty())
    return failure;
  return copyTo(databasePath, nameFor(databasePath, now()));
}

void rotate(const QString &databasePath, const QDateTime &now) {
  const QList<Backup> all = list(databasePath); // newest first
  QSet<QString> keep;
  for (int i = 0; i < std::min<qsizetype>(10, all.size()); ++i)
    keep.insert(all[i].path);
  for (int back = 0; back < 12; ++back) {
    const QDate month = now.date().addMonths(-back);
    for (auto backup = all.rbegin(); backup != all.rend(); ++backup) // oldest first
      if (backup->made.date().year() == month.year() && backup->made.date().month() == month.month()) {
        keep.insert(backup->path);
        break;
      }
  }
  qint64 newerHold = 0; // the most rows any newer backup holds
  for (const Backup &backup : all) {
    const qint64 rows = rowsIn(backup.path);
    if (rows > newerHold)
      keep.insert(backup.path);
    newerHold = std::max(newerHold, rows);
  }
  for (const Backup &backup : all)
    if (!keep.contains(backup.path))
      QFile::remove(backup.path);
}

QString verify(const QString &backup) {
  QString refusal = texts::dbCannotRead;
  db::readOnly(backup, checkConnection, [&](QSqlDatabase &database) {
    if (!database.isOpen())
      return;
    int version = 0;
    bool damaged = false;
    refusal = db::inspect(database, version, damaged);
    if (refusal.isEmpty() && version < 1)
      refusal = texts::dbNotOurs; // an empty file holds no books
  });
  return refusal;
}

QString restore(const QString &databasePath, const QString &backup, QString *aside) {
  const QString path = QFileInfo(databasePath).absoluteFilePath();
  if (const QString refusal = verify(backup); !refusal.isEmpty())
    return texts::restoreRefused.arg(files::shown(backup), refusal);
  const bool wasOpen = db::path() == path;
  const auto refused = [&] {
    return texts::restoreRefused.arg(files::shown(backup), folderFailure(QFileInfo(path).absolutePath()));
  };
  // The file as it is now is kept first, so nothing is lost whatever follows:
  // as a backup when it is whole, else copied aside as it is, log and all
  // (before it is closed, which would fold its log into it).
  QString saved, keptAside;
  if (wasOpen) {
    if (const QString failure = makeFolder(path); !failure.isEmpty())
      return failure;
    saved = nameFor(path, now());
    bool damaged = false;
    if (const QString failure = write(saved); !failure.isEmpty()) {
      db::checkFile(path, &damaged);
      if (!damaged)
        return failure;
      saved.clear();
      if ((keptAside = copyAside(path)).isEmpty())
        return refused();
    }
    db::close();
    // A log still beside a whole file means another program has it open.
    if (!damaged && QFile::exists(path + logs[0])) {
      openBooks(path);
      return texts::restoreRefused.arg(files::shown(backup), texts::causeBusy);
    }
  } else if (QFileInfo::exists(path) && (keptAside = copyAside(path)).isEmpty()) {
    return refused();
  }
  // The path holds the old file until the backup takes its place by one
  // rename; the old file's log goes first, so it is never read with the new.
  for (const QString &log : logs)
    if (QFileInfo::exists(path + log) && !QFile::remove(path + log)) {
      // An old log left beside the restored file would be read into it.
      if (wasOpen)
        openBooks(path);
      return texts::restoreRefused.arg(files::shown(backup), texts::logStays.arg(files::shown(path + log)));
    }
  const auto putPreviousBack = [&] {
    if (!saved.isEmpty())
      copyInto(saved, path);
    else if (!keptAside.isEmpty())
      for (const QString &suffix : fileAndLogs)
        if (QFileInfo::exists(keptAside + suffix))
          copyInto(keptAside + suffix, path + suffix);
    if (wasOpen)
      openBooks(path);
  };
  if (!copyInto(backup, path)) {
    putPreviousBack();
    return refused();
  }
  if (const db::Opened opened = openBooks(path); !opened.failure.isEmpty()) {
    putPreviousBack();
    return texts::restoreRefused.arg(files::shown(backup), opened.failure);
  }
  if (!wasOpen)
    db::close();
  if (aside)
    *aside = keptAside;
  return {};
}

QString damagedNow(const QString &databasePath, const QString &failure) {
  return texts::damagedWhileOpen.arg(files::shown(databasePath),
                                     failure + QLatin1Char('\n') + restoreAdvice(databasePath));
}

QString restoreAdvice(const QString &databasePath) {
  const QList<Backup> all = list(databasePath);
  if (all.isEmpty())
    return texts::noBackup;
  return texts::restoreAdvice.arg(files::shown(all.first().path), files::shown(databasePath),
                                  files::shown(databasePath + QStringLiteral("-wal")),
                                  files::shown(databasePath + QStringLiteral("-shm")));
}

} // namespace domiva::backups
