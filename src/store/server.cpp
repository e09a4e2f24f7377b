#include "store/session.h"

#include "text/input.h"
#include "text/texts.h"

#include <QSqlDriver>
#include <QSqlQuery>
#include <QThread>
#include <QUrl>
#include <QUrlQuery>

#include <libpq-fe.h>
#include <optional>

// Books on a PostgreSQL server: the address, the buildings (one schema
// each), and opening one as the program's connection.
namespace domiva::db {
namespace session {
QString openedServer;
bool serverReader = false;
} // namespace session

namespace {
QString openedBuilding; // the program's building, to set again on a new connection
bool lossTold = false;  // the connection's loss was told since it was last up
} // namespace

using namespace session;

namespace {
struct Address {
  QString user, password, host, database, building;
  int port = -1;
};

std::optional<Address> parse(const QString &location) {
  const QUrl url(location);
  if (!isServer(location) || !url.isValid())
    return std::nullopt;
  const QUrlQuery query(url);
  Address address{url.userName(),
                  url.password(),
                  url.host(),
                  url.path().mid(1),
                  query.queryItemValue(QStringLiteral("building"), QUrl::FullyDecoded),
                  url.port()};
  // libpq's own form for a Unix socket's folder.
  if (address.host.isEmpty())
    address.host = query.queryItemValue(QStringLiteral("host"), QUrl::FullyDecoded);
  if (address.database.isEmpty() || address.database.contains(QLatin1Char('/')))
    return std::nullopt;
  return address;
}

// A building's name as SQL names a schema.
QString quoted(QString name) {
  return QLatin1Char('"') + name.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

// Whether the role may write every table of the open building.
bool writes(const QSqlDatabase &database) {
  try {
    return Store(database.connectionName())
        .one(QStringLiteral("SELECT coalesce(bool_and(has_table_privilege(c.oid, 'INSERT, UPDATE, DELETE')), "
                            "has_schema_privilege(current_schema(), 'CREATE')) FROM pg_class c "
                            "WHERE c.relnamespace = (SELECT oid FROM pg_namespace WHERE nspname = current_schema()) "
                            "AND c.relkind = 'r'"))
        .value(0)
        .toBool();
  } catch (const Error &) {
    return false;
  }
}

// Whether the server has a schema of that name, building or not.
bool schemaExists(const Store &server, const QString &name) {
  return server.one(QStringLiteral("SELECT count(*) FROM pg_namespace WHERE nspname = ?"), {name}).value(0).toInt() > 0;
}

// A throwaway connection to the server (not to a building) for one
// question; a statement it refuses is the server's failure.
template <class Work> QString withServer(const QString &address, Work work) {
  const QString name = QStringLiteral("domiva-server-question");
  QString failure = connectServer(withoutBuilding(address), name);
  if (failure.isEmpty()) {
    try {
      failure = work(Store(name));
    } catch (const Error &e) {
      failure = texts::withDetail(texts::serverUnreachable, e.text());
    }
  }
  QSqlDatabase::database(name, false).close();
  QSqlDatabase::removeDatabase(name);
  return failure;
}
} // namespace

bool isServer(const QString &location) {
  return location.startsWith(QLatin1String("postgresql://")) || location.startsWith(QLatin1String("postgres://"));
}

QString withoutBuilding(const QString &address) {
  QUrl url(address);
  QUrlQuery query(url);
  query.removeAllQueryItems(QStringLiteral("building"));
  url.setQuery(query);
  return url.toString();
}

QString withBuilding(const QString &address, const QString &building) {
  QUrl url(withoutBuilding(address));
  QUrlQuery query(url);
  query.addQueryItem(QStringLiteral("building"), QString::fromLatin1(QUrl::toPercentEncoding(building)));
  url.setQuery(query);
  return url.toString();
}

QString shownAddress(const QString &address) { return QUrl(address).toDisplayString(QUrl::RemovePassword); }

QString buildingOf(const QString &address) {
  const auto parsed = parse(address);
  return parsed ? parsed->building : QString();
}

QString server() { return openedServer; }

Engine session::engineOf(const QSqlDatabase &database) {
  return database.driverName() == QLatin1String("QPSQL") ? Engine::Postgres : Engine::Sqlite;
}

int codeOf(const QSqlError &error) {
  if (error.databaseText().contains(QLatin1String(closedMarker)))
    return periodClosed; // either engine's trigger, in its own words
  const QString code = error.nativeErrorCode();
  if (code.isEmpty())
    return error.type() == QSqlError::ConnectionError ? serverLost : 1;
  if (code.size() != 5)
    return code.toInt(); // SQLite's own numbers
  // A server's SQLSTATE, by its class.
  if (code == QLatin1String("42501"))
    return 8; // insufficient privilege: read only
  if (code == QLatin1String("55P03"))
    return serverBusy; // the building's lock, held by another writer
  if (code == QLatin1String("40001") || code == QLatin1String("40P01"))
    return 5; // another writer holds what we need
  if (code.startsWith(QLatin1String("53")))
    return 13; // out of disk or memory
  if (code.startsWith(QLatin1String("XX")))
    return 11; // damaged
  if (code.startsWith(QLatin1String("08")) || code.startsWith(QLatin1String("57P")))
    return serverLost;
  return 1;
}

bool session::lost(const QSqlDatabase &database) {
  if (engineOf(database) != Engine::Postgres)
    return false;
  if (!database.isOpen())
    return true;
  const QVariant handle = database.driver()->handle();
  if (!handle.isValid() || qstrcmp(handle.typeName(), "PGconn*") != 0)
    return false;
  PGconn *connection = *static_cast<PGconn *const *>(handle.constData());
  return !connection || PQstatus(connection) == CONNECTION_BAD;
}

bool session::reconnect(QSqlDatabase database) {
  // Only the program's own connection knows its building.
  if (database.connectionName() != QLatin1String(QSqlDatabase::defaultConnection) || openedServer.isEmpty())
    return false;
  database.close();
  if (!database.open())
    return false;
  if (QSqlQuery path(database); !path.exec(QStringLiteral("SET search_path TO ") + quoted(openedBuilding))) {
    database.close();
    return false;
  }
  lossTold = false;
  return true;
}

bool tellLoss() { return !std::exchange(lossTold, true); }

QString session::commitFate(QSqlDatabase database, qint64 xid) {
  if (!reconnect(database))
    return {};
  // A COMMIT the server was still working on when the connection went is
  // settled within moments: asked again until it is.
  for (int asked = 0; asked < 50; ++asked) {
    QSqlQuery status(database);
    if (!status.exec(QStringLiteral("SELECT txid_status(%1)").arg(xid)) || !status.next())
      return {};
    if (const QString fate = status.value(0).toString(); fate != QLatin1String("in progress"))
      return fate;
    QThread::msleep(100);
  }
  return {};
}

QString session::connectServer(const QString &address, const QString &name) {
  const auto parsed = parse(address);
  if (!parsed)
    return texts::serverBadAddress;
  QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
  if (!database.isValid())
    return texts::withDetail(texts::serverUnreachable, database.lastError().text());
  database.setHostName(parsed->host);
  database.setPort(parsed->port);
  database.setUserName(parsed->user);
  database.setPassword(parsed->password);
  database.setDatabaseName(parsed->database);
  database.setConnectOptions(QStringLiteral("connect_timeout=10;application_name=domiva"));
  // Sums of agorot come back as whole numbers, not as floating point.
  database.setNumericalPrecisionPolicy(QSql::LowPrecisionInt64);
  if (!database.open())
    return texts::withDetail(texts::serverUnreachable, database.lastError().text());
  if (parsed->building.isEmpty())
    return {};
  const Store store(name);
  try {
    if (!schemaExists(store, parsed->building))
      return texts::noSuchBuilding.arg(parsed->building);
    // The building's tables, and no other schema's, are the names the rules use.
    store.exec(QStringLiteral("SET search_path TO ") + quoted(parsed->building));
  } catch (const Error &e) {
    return texts::withDetail(texts::serverUnreachable, e.text());
  }
  return {};
}

QStringList buildings(const QString &address, QString &failure) {
  QStringList names;
  failure = withServer(address, [&](const Store &server) {
    server.each(QStringLiteral("SELECT n.nspname FROM pg_namespace n JOIN pg_class c ON c.relnamespace = n.oid "
                               "AND c.relname = 'books_version' AND c.relkind = 'r' "
                               "WHERE has_schema_privilege(n.oid, 'USAGE') ORDER BY n.nspname"),
                {}, [&](const QSqlQuery &row) { names << row.value(0).toString(); });
    return QString();
  });
  return names;
}

QString addBuilding(const QString &address, const QString &name) {
  const QString trimmed = name.trimmed();
  // The server keeps 63 bytes of a name and would cut a longer one silently.
  if (trimmed.isEmpty() || trimmed.size() > 30 || trimmed.toUtf8().size() > 63 || trimmed.contains(QLatin1Char('"')) ||
      trimmed.startsWith(QLatin1String("pg_"), Qt::CaseInsensitive) ||
      std::any_of(trimmed.begin(), trimmed.end(),
                  [](QChar c) { return c.category() == QChar::Other_Control || input::hidden(c); }))
    return texts::badBuildingName;
  return withServer(address, [&](const Store &server) {
    if (schemaExists(server, trimmed))
      return texts::buildingExists.arg(trimmed);
    try {
      // The new building is the store's own making: no building's lock to take yet.
      Store::beingMade(server.database().connectionName()).exec(QStringLiteral("CREATE SCHEMA ") + quoted(trimmed));
    } catch (const Error &e) {
      if (e.code() == 8)
        return texts::cannotAddBuilding;
      throw;
    }
    return QString();
  });
}

Opened session::openServer(const QString &address, Access access) {
  Opened opened;
  const auto fail = [&](const QString &failure) {
    close();
    opened.failure = failure;
    return opened;
  };
  if (QString failure = connectServer(address, QString::fromLatin1(QSqlDatabase::defaultConnection));
      !failure.isEmpty())
    return fail(failure);
  const QString building = buildingOf(address);
  if (building.isEmpty())
    return fail(texts::nameTheBuilding);
  openedServer = shownAddress(address);
  openedBuilding = building;
  lossTold = false;
  openedAccess = access;
  const QSqlDatabase database = QSqlDatabase::database();
  int found = 0;
  // A server's damage is its administrator's to mend: nothing here offers a backup for it.
  bool damaged = false;
  if (QString refusal = ours(database, found, damaged); !refusal.isEmpty())
    return fail(refusal);
  serverReader = !writes(database);
  if (found == schemaVersion)
    return opened;
  if (access == Access::ReadOnly)
    return fail(found == 0 ? texts::buildingNotMade.arg(building) : texts::serverNeedsUpgrade);
  if (serverReader)
    return fail(found == 0 ? texts::buildingNotMade.arg(building) : texts::serverNeedsUpgrade);
  // Made or brought up to date in one transaction: all of it, or nothing.
  try {
    Transaction transaction(program());
    upgrade(program(), found, schemaVersion);
    transaction.commit();
  } catch (const Error &e) {
    return fail(texts::withDetail(texts::serverUpgradeFailed, e.text()));
  }
  serverReader = !writes(database);
  return opened;
}

} // namespace domiva::db
