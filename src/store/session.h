#pragma once
// What the store's files share of the one open connection, and the checks
// they all run. Not for the rest of the program, which goes through
// store/database.h.
#include "store/database.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <atomic>
#include <future>

#ifdef Q_OS_UNIX
#include <qplatformdefs.h>
#endif

namespace domiva::db::session {

extern std::atomic<int> busyMilliseconds; // read by the check behind a window too
// The write-ahead log is folded back into the file past this size.
inline constexpr qint64 logLimit = 4 * 1024 * 1024;

extern QString openedPath;
extern QString openedServer; // the server's address when the books are on one
extern bool serverReader;    // the server's role may only read the building
extern Access openedAccess;
extern bool inLog;           // the file was switched to the write-ahead log by us
extern int openTransactions; // the one connection's, on the window thread
// The check left for later: due until checked() gives its verdict, which
// then stands until close().
extern bool checkDue;
extern std::future<Opened> runningCheck;
extern Opened verdict;
#ifdef Q_OS_UNIX
extern std::pair<dev_t, ino_t> openedIdentity;
std::pair<dev_t, ino_t> identityOf(const QString &path);
#endif

// What a refused opening says, from the engine's error.
QString openingFailure(const QSqlError &error, const QString &path);
// Switches the open file to the write-ahead log (see connection.cpp).
QString useLog(QSqlDatabase database, QString &notice);
// Whether the file behind `database` is whole, by SQLite's quick_check.
QString wholeFile(const QSqlDatabase &database, bool &damaged);
// Whether the file is one of ours and not newer than this program.
QString ours(const QSqlDatabase &database, int &version, bool &damaged);
// Opens a building on a server as the program's connection.
Opened openServer(const QString &address, Access access);
// Opens a connection named `name` to the server at `address`, its search
// path set to the address's building when it names one; the Hebrew
// failure, or empty.
QString connectServer(const QString &address, const QString &name);
// Whether the connection to a server is lost (on a file: never).
bool lost(const QSqlDatabase &database);
// Makes a lost connection to the server again, the building's search
// path set; whether it could.
bool reconnect(QSqlDatabase database);
// Whether the server's transaction `xid` took ("committed", "aborted"),
// asked on the connection made again; empty when that cannot be known.
QString commitFate(QSqlDatabase database, qint64 xid);
// The engine of a connection.
Engine engineOf(const QSqlDatabase &database);
// The schema's version on either engine; `error` is set when it could not be read.
int versionOf(const QSqlDatabase &database, QSqlError &error);

} // namespace domiva::db::session
