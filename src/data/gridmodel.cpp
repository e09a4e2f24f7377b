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
  QSqlQuery query = run(m_sql);
  if (query.lastError().isValid()) {
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

QSqlQuery GridModel::run(const QString &sql, bool forwardOnly) const {
  QSqlQuery query(QSqlDatabase::database());
  // A forward-only query keeps no rows behind it; the grid scrolls back.
  query.setForwardOnly(forwardOnly);
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
  return shown(index.column(), value);
}

QString GridModel::shown(int column, const QVariant &value) const {
  if (value.isNull())
    return {};
  if (m_money.contains(column))
    return Money::fromAgorot(value.toLongLong()).toString();
  if (m_dates.contains(column)) {
    const QDate date = dates::fromIso(value.toString());
    return date.isValid() ? dates::toShort(date) : value.toString();
  }
  return value.toString();
}

bool GridModel::isCancelled(int row) const {
  return m_status >= 0 && !QSqlQueryModel::data(index(row, m_status)).toString().isEmpty();
}

qint64 GridModel::key(int row) const { return QSqlQueryModel::data(index(row, m_key)).toLongLong(); }

listing::Rows GridModel::printedRows() {
  auto query = std::make_shared<QSqlQuery>(run(m_sql, true));
  if (query->lastError().isValid()) {
    m_failure = query->lastError().text();
    return [](QStringList &) { return false; };
  }
  return [this, query](QStringList &cells) {
    while (query->next()) {
      if (m_status >= 0 && !query->value(m_status).toString().isEmpty())
        continue;
      cells.clear();
      for (int c = 0; c < printedColumns(); ++c)
        cells << shown(c, query->value(c));
      return true;
    }
    if (query->lastError().isValid())
      m_failure = query->lastError().text();
    query->finish();
    return false;
  };
}

qint64 GridModel::printedCount() {
  QSqlQuery count = run(QStringLiteral("SELECT count(*) FROM (%1)").arg(m_sql), true);
  return count.next() ? count.value(0).toLongLong() : 0;
}

QStringList GridModel::printedHeaders() const {
  QStringList names;
  for (int c = 0; c < printedColumns(); ++c)
    names << headerData(c, Qt::Horizontal).toString();
  return names;
}

} // namespace domiva
