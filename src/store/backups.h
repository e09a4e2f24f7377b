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
// temporary file. The database is checked whole first (no copy is made of
// a damaged file), and the copy is checked whole and holding every payment
// and expense before it takes its name. Safe off the window thread. Books
// on a server are copied as db::copyBooks copies them, on the window
// thread only. An empty text on success, otherwise the Hebrew reason.
QString write(const QString &target);

// Once a day: a new backup when the newest (of those not dated in the
// future) is older than a day, then rotation; what interrupted writes left
// is cleared first. Safe off the window thread. An empty text when all went
// well or nothing was needed.
QString daily(const QString &databasePath, const QDateTime &now);

// At a clean close: the books' first backup with anything in it, when they
// now hold a payment or an expense and no backup does, so the first day's
// work is kept that day, not only at the next start.
QString firstWithRows(const QString &databasePath, const QDateTime &now);

// Before an older file is upgraded: a backup of it as it is.
QString beforeUpgrade(const QString &databasePath);

// Keeps the 10 newest backups and the first of each of the last 12 months,
// and any backup holding more rows than every newer one: a smaller backup
// is kept beside a fuller one, never instead of it.
void rotate(const QString &databasePath, const QDateTime &now);

// Whether `backup` may take the database's place: whole, ours, not newer.
// An empty text when it may, otherwise why not.
QString verify(const QString &backup);

// Checks the backup, keeps the file at `databasePath` (as a backup when it
// is open and whole, else moved aside under its own name with its -wal and
// -shm files), then puts the backup in its place and opens it. On failure
// the file is put back as it was, and open when it was. An empty text on
// success, otherwise the Hebrew reason; `aside` receives where a damaged
// file was moved.
QString restore(const QString &databasePath, const QString &backup, QString *aside = nullptr);

// For a damaged file: the newest backup and how to put it in its place.
QString restoreAdvice(const QString &databasePath);
// What the user is told of damage found in the open file at `databasePath`
// (`failure`, the check's finding): no backup made, and the newest one.
QString damagedNow(const QString &databasePath, const QString &failure);

} // namespace domiva::backups
