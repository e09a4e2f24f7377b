#include "data/gridmodel.h"

#include "data/dates.h"
#include "data/money.h"

#include <QColor>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace domiva {

GridModel::GridModel(QObject *parent) : QSqlQueryModel(parent) {}

bool GridModel::load(const QString &sql, const QVariantList &values) {
  m_sql = sql;
  m_values = values;
  return reload();
}

bool GridModel::reload() {
  m_failure.clear();
  if (QSqlQuery query = run(m_sql); query.lastError().isValid()) {
    m_failure = query.lastError().text();
  } else {
    setQuery(std::move(query));
    if (!lastError().isValid())
      return true;
    m_failure = lastError().text();
  }
  // The same columns with no rows: the grid keeps its headers, and nothing
  // that was not read passes for an empty list.
  setQuery(run(QStringLiteral("SELECT * FROM (%1) LIMIT 0").arg(m_sql)));
  return false;
}

QSqlQuery GridModel::run(const QString &sql) const {
  QSqlQuery query(QSqlDatabase::database());
  query.setForwardOnly(false);
  if (query.prepare(sql)) {
    for (const QVariant &value : m_values)
      query.addBindValue(value);
    query.exec();
  }
  return query;
}

QVariant GridModel::data(const QModelIndex &index, int role) const {
  if (m_status >= 0 && (role == Qt::ForegroundRole || role == Qt::ToolTipRole)) {
    if (!isCancelled(index.row()))
      return {};
    return role == Qt::ForegroundRole ? QVariant(QColor(Qt::gray))
                                      : QSqlQueryModel::data(this->index(index.row(), m_status));
  }
  const QVariant value = QSqlQueryModel::data(index, role);
  if (role != Qt::DisplayRole || value.isNull())
    return value;
  if (m_money.contains(index.column()))
    return Money::fromAgorot(value.toLongLong()).toString();
  if (m_dates.contains(index.column())) {
    const QDate date = dates::fromIso(value.toString());
    return date.isValid() ? dates::toShort(date) : value;
  }
  return value;
}

bool GridModel::isCancelled(int row) const {
  return m_status >= 0 && !QSqlQueryModel::data(index(row, m_status)).toString().isEmpty();
}

qint64 GridModel::key(int row) const { return QSqlQueryModel::data(index(row, m_key)).toLongLong(); }

QList<QStringList> GridModel::printedRows() {
  while (canFetchMore())
    fetchMore();
  if (query().lastError().isValid()) {
    m_failure = query().lastError().text();
    return {};
  }
  QList<QStringList> rows;
  rows.reserve(rowCount());
  for (int r = 0; r < rowCount(); ++r) {
    if (isCancelled(r))
      continue;
    QStringList cells;
    for (int c = 0; c < printedColumns(); ++c)
      cells << data(index(r, c)).toString();
    rows << cells;
  }
  return rows;
}

QStringList GridModel::printedHeaders() const {
  QStringList names;
  for (int c = 0; c < printedColumns(); ++c)
    names << headerData(c, Qt::Horizontal).toString();
  return names;
}

} // namespace domiva
