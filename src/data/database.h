#pragma once
#include <QString>
#include <QVariantList>
#include <QSqlQuery>
#include <stdexcept>

namespace domiva::db {

inline constexpr int schemaVersion = 2;

// Where the program keeps its data unless --database names another file.
QString defaultPath();

// Opens the file as the program's one connection, creating folder (0700),
// file (0600) and schema on first use. Returns an empty text on success,
// otherwise the Hebrew reason, with nothing left open.
QString open(const QString &path);
void close();

// Brings the open file's schema from version `from` (0: an empty file) to
// `to`, inside the caller's transaction. Start-up uses it on every older
// file; tests use it to make one.
void upgrade(int from, int to);

// A statement the database refused; carries the engine's words.
class Error : public std::runtime_error {
public:
  explicit Error(const QString &what) : std::runtime_error(what.toStdString()) {}
  QString text() const { return QString::fromStdString(what()); }
};

// Prepares `sql`, binds `values` in order and runs it; throws Error on failure.
QSqlQuery exec(const QString &sql, const QVariantList &values = {});

// One transaction around a user action: rolled back unless commit() is reached.
class Transaction {
public:
  Transaction();
  ~Transaction();
  void commit();
  Transaction(const Transaction &) = delete;
  Transaction &operator=(const Transaction &) = delete;

private:
  bool m_open = false;
};

} // namespace domiva::db
