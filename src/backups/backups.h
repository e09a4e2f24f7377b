#pragma once
#include <QDateTime>
#include <QList>
#include <QString>

namespace domiva::backups {

// One backup file in the backups folder beside the database.
struct Backup {
  QString path;
  QDateTime made;
  qint64 size = 0;
};

// <the database's folder>/backups
QString folderFor(const QString &databasePath);
// The backups of that database, newest first.
QList<Backup> list(const QString &databasePath);
// The payments and expenses a backup holds (-1 each when it can't be read).
std::pair<qint64, qint64> counts(const QString &backupPath);

// Writes a copy of the open database to `target`, owner-only, through a
// temporary file. An empty text on success, otherwise the Hebrew reason.
QString write(const QString &target);

// On start-up: a new backup when the newest is older than a day, then
// rotation. An empty text when all went well or nothing was needed.
QString daily(const QString &databasePath, const QDateTime &now);

// Keeps the 10 newest backups and the first of each of the last 12 months.
void rotate(const QString &databasePath, const QDateTime &now);

// Whether `backup` may take the database's place: whole, ours, not newer.
// An empty text when it may, otherwise why not.
QString verify(const QString &backup);

// Checks the backup, saves the open database as a backup, then puts the
// backup in its place and opens it. On failure the database is as it was,
// and open. An empty text on success, otherwise the Hebrew reason.
QString restore(const QString &backup);

// For a damaged file: the newest backup and how to put it in its place.
QString restoreAdvice(const QString &databasePath);

} // namespace domiva::backups
