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
  QSqlQuery query(QSqlDatabase::database());
  query.setForwardOnly(false);
  if (!query.prepare(m_sql))
    return false;
  for (const QVariant &value : m_values)
    query.addBindValue(value);
  if (!query.exec())
    return false;
  setQuery(std::move(query));
  return !lastError().isValid();
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
