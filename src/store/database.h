#pragma once
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>
#include <functional>
#include <stdexcept>

namespace domiva::db {

inline constexpr int schemaVersion = 11;

// Checks the file behind `database` is whole (quick_check), not newer than
// this program, and ours; `version` is its schema version, 0 for an empty
// file. An empty text when it is, otherwise why not (SQLite's words below).
QString inspect(const QSqlDatabase &database, int &version, bool &damaged);

// When the whole-file check of an opened file runs: before open() returns,
// or later, so a window can show first. A file that needs changing to be
// used (new, or older) is always checked first.
enum class Check { Now, Later };
// Whether the file is opened to be written, or only read (--check): read
// only, nothing is created, upgraded or changed, and a write is refused.
enum class Access { ReadWrite, ReadOnly };

// Where the program keeps its data unless --database names another file.
QString defaultPath();

// Books are kept in a SQLite file, or on a PostgreSQL server, one schema
// per building. A server's address: postgresql://user@host:port/dbname,
// with ?host=/folder for a Unix socket and ?building=NAME for the building.
enum class Engine { Sqlite, Postgres };
bool isServer(const QString &location);
// The address with the building named (and no password, for showing).
QString withBuilding(const QString &address, const QString &building);
QString shownAddress(const QString &address);
// The server's address alone, naming no building.
QString withoutBuilding(const QString &address);
// The building an address names, empty when it names none.
QString buildingOf(const QString &address);
// The buildings whose books are on the server, in name order; `failure`
// says why they could not be listed.
QStringList buildings(const QString &address, QString &failure);
// Makes a new, empty building on the server (an administrator's right):
// its books are made when it is first opened. Empty, or why not.
QString addBuilding(const QString &address, const QString &name);

struct Opened {
  QString failure;      // empty on success; else the Hebrew reason, SQLite's words on a line below
  bool damaged = false; // the file failed its integrity check
  QString notice;       // something to tell the user once, such as permissions tightened
};

// Opens the file as the program's one connection, creating the folders
// (0700), the file (0600) and the schema where nothing is at `path`, and
// bringing an older file up to date after a backup of it. An existing file
// too short to be a database is refused as damaged. A file it refuses is
// left as it was, with nothing left open. With Check::Later the file is
// read at once, but nothing is written to it until checked() has passed it.
// A server's address opens its building's schema instead: nothing to
// check of a file, and a role that may only read is told on every write.
Opened open(const QString &path, Check check = Check::Now, Access access = Access::ReadWrite);
// Runs `work` on a connection of its own to `path` (a file, opened read
// only, or a server's building), named `name`
// (a name no other thread uses meanwhile), beside the program's one
// connection; `work` sees whether it opened.
void readOnly(const QString &path, const QString &name, const std::function<void(QSqlDatabase &)> &work);
// The whole-file check of the file at `path` on a read-only connection of
// its own, from any thread: an empty text when it is whole, else why not.
QString checkFile(const QString &path, bool *damaged = nullptr);
// Starts the check left for later on a thread and connection of its own;
// `done` is then called on the main thread.
void checkBehind(std::function<void()> done);
// The check's verdict, waiting for it (or running it here) if it is still
// due: an empty failure when the file may be written. Every transaction and
// backup asks it first; a refused file stays refused until close().
Opened checked();
// Folds the write-ahead log back into the file when it has grown past a
// few MB and no transaction is open; true when it did. Called when idle.
bool tidyLog();
// Closes the connection, leaving the file as one file again.
void close();
// The open file's path, empty when none is open or the books are on a server.
QString path();
// The open server's address with its building (no password), else empty.
QString server();
// How long a write waits for another program's (5 s); tests wait less.
void setBusyWait(int milliseconds);
// Told when a write starts and stops waiting for another's: the windows
// show a wait cursor meanwhile; the store itself shows nothing.
void setWaitShown(std::function<void(bool waiting)> shown);

// An engine's error code as SQLite numbers its causes: a server's
// SQLSTATE becomes the SQLite code of the same cause.
int codeOf(const QSqlError &error);
// A server that stopped answering, and another writer of the building on
// it holding its lock too long (no SQLite code has these numbers).
inline constexpr int serverLost = 90;
inline constexpr int serverBusy = 91;
// The connection to the server went with the answer to a COMMIT, and the
// server could not be asked again whether it took.
inline constexpr int commitUnknown = 92;
// A write into a period closed once its accounts were approved, refused
// by the books themselves; the marker is the words the refusal carries.
inline constexpr int periodClosed = 93;
inline constexpr const char *closedMarker = "domiva-period-closed";

// A statement the database refused; carries the engine's words and code.
class Error : public std::runtime_error {
public:
  explicit Error(const QString &what, int code = 0) : std::runtime_error(what.toStdString()), m_code(code) {}
  explicit Error(const QSqlError &error) : Error(error.text(), codeOf(error)) {}
  QString text() const { return QString::fromStdString(what()); }
  int code() const { return m_code; }

private:
  int m_code;
};

// The cause of an engine's error code in Hebrew (another program,
// read-only, disk full, damaged).
QString cause(int code);
// The cause of a failure in Hebrew, SQLite's words as its detail; an
// error of ours as it is.
QString explain(const Error &error);
// What a user is told of a write that failed: nothing was recorded, and
// why; or, when that is not known, that it may have been.
QString saveFailure(const Error &error);
// Whether the loss of the server is to be told now: once, until the
// connection is made again.
bool tellLoss();

// Throws when reading the rows of `query` stopped on an error rather than
// at their end.
void checkRead(const QSqlQuery &query);

// A set of books open on a connection: what the rules are handed to read
// and write them. A store is a name for its connection, cheap to copy;
// the program's own is open()'s, and a reader beside it (a check, a copy)
// names a connection of its own.
class Store {
public:
  explicit Store(QString connection) : m_connection(std::move(connection)) {}
  // New books the store itself is making (a copy), inside a transaction
  // of its own: their writes run as they come.
  static Store beingMade(QString connection) {
    Store made(std::move(connection));
    made.m_made = true;
    return made;
  }
  QSqlDatabase database() const { return QSqlDatabase::database(m_connection, false); }
  Engine engine() const;
  // The program's own store: the connection open() opens.
  bool isProgram() const;

  // Prepares `sql`, binds `values` in order and runs it; throws Error on
  // failure. A statement that changes the file, run outside a Transaction,
  // runs in one of its own, so no write skips a Transaction's checks.
  QSqlQuery exec(const QString &sql, const QVariantList &values = {}) const;
  // Runs a query that yields one row and stands on it; throws Error when
  // it fails or yields none.
  QSqlQuery one(const QString &sql, const QVariantList &values = {}) const;
  // Runs a query and hands `row` each row it yields; throws Error when it
  // fails or its rows stop on an error rather than at their end.
  void each(const QString &sql, const QVariantList &values, const std::function<void(const QSqlQuery &)> &row) const;

private:
  QString m_connection;
  bool m_made = false;
};

// The program's store, once open() has opened it.
Store program();

// Copies the program's books whole into new books at `target`: a file
// with nothing at it, or a server's address naming a building, made when
// missing, that holds no books. Every table's rows come over, receipt
// numbers and the numbers still to come included, and are counted again
// in the copy. Empty, or why not; a failed copy leaves no file behind and
// no rows in the building.
QString copyBooks(const QString &target);

// Brings the store's schema from version `from` (0: an empty file) to
// `to`, inside the caller's transaction. Start-up uses it on every older
// file; tests use it to make one.
void upgrade(const Store &store, int from, int to);

// One transaction around a user action, begun with BEGIN IMMEDIATE: another
// program's write is waited for up to 5 s under a wait cursor. Rolled back
// unless commit() is reached. Refused, with the cause in Hebrew, before
// anything is written: in a file that has not passed its check, that was
// replaced or deleted behind the program, or that is open to read only.
// Transactions do not nest. Only the program's store is written.
class Transaction {
public:
  explicit Transaction(const Store &store);
  ~Transaction();
  void commit();
  Transaction(const Transaction &) = delete;
  Transaction &operator=(const Transaction &) = delete;

private:
  void rollback();
  Store m_store;
  bool m_open = false;
  qint64 m_xid = 0; // on a server: the transaction's id, to ask whether its COMMIT took
};

} // namespace domiva::db
