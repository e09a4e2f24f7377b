#include "backups/backups.h"

#include "app/startup.h"
#include "common/texts.h"
#include "data/database.h"
#include "data/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <algorithm>

namespace domiva::backups {
namespace {
const char *const timeFormat = "yyyyMMdd-HHmmss";

QString nameFor(const QString &databasePath, const QDateTime &made) {
  return folderFor(databasePath) + QLatin1Char('/') + QFileInfo(databasePath).completeBaseName() + QLatin1Char('-') +
         made.toString(QLatin1String(timeFormat)) + QStringLiteral(".sqlite");
}

// Backups are looked into on a connection of their own.
const QString checkConnection = QStringLiteral("domiva-backup-check");
} // namespace

QString folderFor(const QString &databasePath) {
  return QFileInfo(databasePath).absolutePath() + QStringLiteral("/backups");
}

QList<Backup> list(const QString &databasePath) {
  const QRegularExpression form(QStringLiteral("^%1-(\\d{8}-\\d{6})\\.sqlite$")
                                    .arg(QRegularExpression::escape(QFileInfo(databasePath).completeBaseName())));
  QList<Backup> found;
  const QDir folder(folderFor(databasePath));
  for (const QFileInfo &file : folder.entryInfoList(QDir::Files)) {
    const auto match = form.match(file.fileName());
    if (match.hasMatch())
      found.append({file.absoluteFilePath(), QDateTime::fromString(match.captured(1), QLatin1String(timeFormat)),
                    file.size()});
  }
  std::sort(found.begin(), found.end(), [](const Backup &a, const Backup &b) { return a.made > b.made; });
  return found;
}

std::pair<qint64, qint64> counts(const QString &backupPath) {
  std::pair<qint64, qint64> result{-1, -1};
  db::readOnly(backupPath, checkConnection, [&](QSqlDatabase &database) {
    QSqlQuery query(database);
    if (database.isOpen() && query.exec(QStringLiteral("SELECT (SELECT count(*) FROM incoming), "
                                                       "(SELECT count(*) FROM removals)")) &&
        query.next())
      result = {query.value(0).toLongLong(), query.value(1).toLongLong()};
  });
  return result;
}

QString write(const QString &target) {
  // A copy of a file that failed its check would push good backups out.
  if (const db::Opened file = db::checked(); !file.failure.isEmpty())
    return texts::backupFailed.arg(target, file.failure);
  QString failure;
  const bool written = files::writeAtomically(target, [&](const QString &temporary) {
    try {
      // The reserved file is empty and owner-only; the copy goes into it.
      db::exec(QStringLiteral("VACUUM INTO ?"), {temporary});
      return QFile::setPermissions(temporary, QFile::ReadOwner | QFile::WriteOwner);
    } catch (const db::Error &e) {
      failure = db::explain(e);
      return false;
    }
  });
  return written ? QString() : texts::backupFailed.arg(target, failure);
}

QString daily(const QString &databasePath, const QDateTime &now) {
  const QList<Backup> existing = list(databasePath);
  if (!existing.isEmpty() && existing.first().made > now.addDays(-1))
    return {};
  if (!db::makeFolders(folderFor(databasePath)))
    return texts::backupFailed.arg(folderFor(databasePath), QString());
  if (const QString failure = write(nameFor(databasePath, now)); !failure.isEmpty())
    return failure;
  rotate(databasePath, now);
  return {};
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

QString restore(const QString &backup) {
  const QString databasePath = db::path();
  if (const QString refusal = verify(backup); !refusal.isEmpty())
    return texts::restoreRefused.arg(backup, refusal);
  // The file as it is now is kept first, so nothing is lost whatever follows.
  if (!db::makeFolders(folderFor(databasePath)))
    return texts::backupFailed.arg(folderFor(databasePath), QString());
  const QString saved = nameFor(databasePath, QDateTime::currentDateTime());
  if (const QString failure = write(saved); !failure.isEmpty())
    return failure;
  db::close();
  // A log still beside the file means another program has it open.
  if (QFile::exists(databasePath + QStringLiteral("-wal"))) {
    startUp(databasePath);
    return texts::restoreRefused.arg(backup, texts::causeBusy);
  }
  const auto copyOf = [](const QString &source) {
    return [source](const QString &temporary) {
      QFile::remove(temporary);
      return QFile::copy(source, temporary) &&
             QFile::setPermissions(temporary, QFile::ReadOwner | QFile::WriteOwner);
    };
  };
  if (!files::writeAtomically(databasePath, copyOf(backup))) {
    startUp(databasePath);
    return texts::restoreRefused.arg(backup, texts::causeDisk);
  }
  if (const QString failure = startUp(databasePath); !failure.isEmpty()) {
    files::writeAtomically(databasePath, copyOf(saved));
    startUp(databasePath);
    return texts::restoreRefused.arg(backup, failure);
  }
  return {};
}

QString restoreAdvice(const QString &databasePath) {
  const QList<Backup> all = list(databasePath);
  if (all.isEmpty())
    return texts::noBackup;
  return texts::restoreAdvice.arg(all.first().path, databasePath);
}

} // namespace domiva::backups
