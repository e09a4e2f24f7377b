#include "store/session.h"

#include "store/log.h"
#include "text/texts.h"

#include <QRegularExpression>
#include <QScopeGuard>
#include <QSqlQuery>

// Statements and the one guarded transaction every write goes through.
Q_LOGGING_CATEGORY(domivaStore, "domiva.store", QtCriticalMsg)

namespace domiva::db {

using namespace session;

QString cause(int code) {
  switch (code & 0xff) {
  case 5:
  case 6: return texts::causeBusy;
  case 8: return texts::causeReadOnly;
  case 13: return texts::causeFull;
  case 11:
  case 26: return texts::causeDamaged;
  case 10:
  case 14: return texts::causeDisk;
  case serverLost: return texts::causeServer;
  case serverBusy: return texts::causeServerBusy;
  case periodClosed: return texts::causeClosed;
  default: return texts::causeEngine;
  }
}

QString explain(const Error &error) {
  // An error of ours is already said in Hebrew; the engine's gets its cause.
  if (error.code() == 0)
    return error.text();
  if (error.code() == periodClosed)
    return texts::causeClosed; // the engine's words add nothing to ours
  return texts::withDetail(cause(error.code()), error.text());
}

QString saveFailure(const Error &error) {
  if (error.code() == commitUnknown)
    return texts::withDetail(texts::commitUnknownText, error.text());
  return texts::saveFailed.arg(explain(error));
}

namespace {
// What changes the file; such a statement outside a transaction gets one.
bool writes(const QString &sql) {
  static const QRegularExpression verb(QStringLiteral("^\\s*(INSERT|UPDATE|DELETE|REPLACE|CREATE|DROP|ALTER)\\b"),
                                       QRegularExpression::CaseInsensitiveOption);
  return verb.match(sql).hasMatch();
}

// A statement's failure: on a server whose connection went, told as that.
Error failed(const QSqlDatabase &database, const QSqlError &error) {
  return lost(database) ? Error(error.text(), serverLost) : Error(error);
}

QSqlQuery run(const QSqlDatabase &database, const QString &sql, const QVariantList &values) {
  // A server's connection lost between actions is made again; one lost
  // within a transaction took the transaction with it.
  if (lost(database) && (openTransactions > 0 || !reconnect(database)))
    throw Error(texts::causeServer, serverLost);
  QSqlQuery query(database);
  // Read forward only: nothing read is kept behind the query. A server's
  // driver reads such rows one at a time, holding the connection until
  // the last: a query run while reading another's rows would cut it short.
  query.setForwardOnly(engineOf(database) == Engine::Sqlite);
  // A server prepares no statement that changes the schema or a setting;
  // one without values needs no preparing.
  if (values.isEmpty()) {
    if (!query.exec(sql))
      throw failed(database, query.lastError());
    return query;
  }
  if (!query.prepare(sql))
    throw failed(database, query.lastError());
  for (const QVariant &value : values) {
    // An empty field is stored as an empty text, never as NULL, however
    // the text was made.
    if (value.typeId() == QMetaType::QString && value.toString().isNull())
      query.addBindValue(QStringLiteral(""));
    else
      query.addBindValue(value);
  }
  if (!query.exec())
    throw failed(database, query.lastError());
  return query;
}

std::function<void(bool)> waitHook;

// The wait for another program's write, shown as the windows show it.
template <class Wait> void waitShown(Wait wait) {
  if (waitHook)
    waitHook(true);
  const auto restore = qScopeGuard([] {
    if (waitHook)
      waitHook(false);
  });
  wait();
}

// On a server, one writer at a time per building, as in a file: each
// transaction first takes the building's lock, held until it ends, so a
// matrix row is always rebuilt from every payment committed before it.
// Another bookkeeper's write is waited for like another program's.
void beginOnServer(const QSqlDatabase &database) {
  run(database, QStringLiteral("BEGIN"), {});
  try {
    // The lock's key: this program's, and the building's.
    const QString key = QStringLiteral("(1685024105, hashtext(current_schema()))");
    QSqlQuery taken = run(database, QStringLiteral("SELECT pg_try_advisory_xact_lock") + key, {});
    if (!taken.next() || !taken.value(0).toBool())
      waitShown([&] {
        run(database, QStringLiteral("SET LOCAL lock_timeout = %1").arg(busyMilliseconds), {});
        run(database, QStringLiteral("SELECT pg_advisory_xact_lock") + key, {});
      });
  } catch (...) {
    QSqlQuery(database).exec(QStringLiteral("ROLLBACK"));
    throw;
  }
}
} // namespace

void setWaitShown(std::function<void(bool waiting)> shown) { waitHook = std::move(shown); }

Engine Store::engine() const { return engineOf(database()); }

bool Store::isProgram() const { return m_connection == QLatin1String(QSqlDatabase::defaultConnection); }

Store program() { return Store(QString::fromLatin1(QSqlDatabase::defaultConnection)); }

QSqlQuery Store::exec(const QString &sql, const QVariantList &values) const {
  if (!writes(sql) || m_made || (isProgram() && openTransactions > 0))
    return run(database(), sql, values);
  // Every write passes the guarded transaction's checks, whoever wrote it.
  Transaction transaction(*this);
  QSqlQuery query = run(database(), sql, values);
  transaction.commit();
  return query;
}

QSqlQuery Store::one(const QString &sql, const QVariantList &values) const {
  QSqlQuery query = exec(sql, values);
  if (!query.next()) {
    checkRead(query);
    throw Error(texts::rowMissing);
  }
  return query;
}

void Store::each(const QString &sql, const QVariantList &values,
                 const std::function<void(const QSqlQuery &)> &row) const {
  QSqlQuery query = exec(sql, values);
  while (query.next())
    row(query);
  checkRead(query);
}

void checkRead(const QSqlQuery &query) {
  if (query.lastError().isValid())
    throw Error(query.lastError());
}

Transaction::Transaction(const Store &store) : m_store(store) {
  // A store beside the program's is only read.
  if (!store.isProgram() || openedAccess == Access::ReadOnly)
    throw Error(texts::causeReadOnly);
  if (serverReader)
    throw Error(texts::serverReadOnly);
  if (openTransactions > 0)
    throw Error(texts::nestedTransaction);
  // Nothing is written into a file before it has passed its check.
  if (const Opened file = checked(); !file.failure.isEmpty())
    throw Error(file.failure);
#ifdef Q_OS_UNIX
  // Writing into a file that was deleted or replaced would lose the rows.
  if (!openedPath.isEmpty() && identityOf(openedPath) != openedIdentity) {
    // Our log now stands beside another file: emptied into ours, so that
    // nothing of it is ever replayed onto that one after a crash.
    QSqlQuery(store.database()).exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    throw Error(texts::dbReplaced);
  }
#endif
  const QSqlDatabase database = store.database();
  if (store.engine() == Engine::Postgres) {
    beginOnServer(database);
    m_open = true;
    ++openTransactions;
    QSqlQuery id = run(database, QStringLiteral("SELECT txid_current()"), {});
    m_xid = id.next() ? id.value(0).toLongLong() : 0;
    return;
  }
  QSqlQuery begin(database);
  run(database, QStringLiteral("PRAGMA busy_timeout = 0"), {});
  bool begun = begin.exec(QStringLiteral("BEGIN IMMEDIATE"));
  if (!begun) {
    // Another program is writing: wait for it, and show that we wait.
    waitShown([&] {
      run(database, QStringLiteral("PRAGMA busy_timeout = %1").arg(busyMilliseconds), {});
      begun = begin.exec(QStringLiteral("BEGIN IMMEDIATE"));
    });
  }
  if (!begun)
    throw Error(begin.lastError());
  m_open = true;
  ++openTransactions;
  try {
    run(database, QStringLiteral("PRAGMA busy_timeout = %1").arg(busyMilliseconds), {});
  } catch (...) {
    rollback();
    throw;
  }
}

Transaction::~Transaction() {
  if (m_open)
    rollback();
}

void Transaction::rollback() {
  m_open = false;
  --openTransactions;
  // A failed rollback can't be thrown from a destructor: it is logged, and
  // the next write, refused while this one is still open, tells the user.
  if (QSqlQuery end(m_store.database()); !end.exec(QStringLiteral("ROLLBACK")))
    qCCritical(domivaStore, "rollback failed: %s", qPrintable(end.lastError().text()));
}

void Transaction::commit() {
  const QSqlDatabase database = m_store.database();
  QSqlQuery end(database);
  const bool done = end.exec(QStringLiteral("COMMIT"));
  if (!done && !(m_xid && lost(database)))
    throw Error(end.lastError());
  m_open = false;
  --openTransactions;
  if (done)
    return;
  // The connection went with the COMMIT's answer: the server is asked
  // again whether it took, so that a write stored is never told as failed
  // (and typed again).
  const QString fate = commitFate(database, m_xid);
  if (fate == QLatin1String("committed"))
    return;
  throw Error(end.lastError().text(), fate == QLatin1String("aborted") ? serverLost : commitUnknown);
}

} // namespace domiva::db
