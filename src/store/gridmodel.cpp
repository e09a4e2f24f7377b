#include "store/gridmodel.h"

#include "store/database.h"

#include "text/bidi.h"
#include "text/dates.h"
#include "text/money.h"

#include <QColor>
#include <QHash>
#include <QPointer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace domiva {

GridModel::GridModel(db::Store store, QObject *parent) : QAbstractTableModel(parent), m_store(std::move(store)) {}

bool GridModel::load(const QString &sql, const QVariantList &values) {
  m_sql = sql;
  m_values = values;
  return reload();
}

void GridModel::show(const QStringList &headers, const QList<QVariantList> &rows) {
  m_sql.clear();
  m_values.clear();
  m_headers = headers;
  m_given = rows;
  reload();
}

bool GridModel::reload() {
  if (m_sql.isEmpty()) {
    // Given rows: in the order given, or stably by the sorted column.
    beginResetModel();
    m_failure.clear();
    m_all = m_given;
    if (m_sortColumn >= 0) {
      const int column = m_sortColumn;
      const bool ascending = m_sortOrder == Qt::AscendingOrder;
      std::stable_sort(m_all.begin(), m_all.end(), [column, ascending](const QVariantList &a, const QVariantList &b) {
        const auto order = QVariant::compare(a.value(column), b.value(column));
        return ascending ? order == QPartialOrdering::Less : order == QPartialOrdering::Greater;
      });
    }
    m_rows = int(m_all.size());
    endResetModel();
    return true;
  }
  beginResetModel();
  m_failure.clear();
  m_all.clear();
  m_keys.clear();
  m_windows.clear();
  m_rows = 0;
  m_headers.clear();
  // The headers come from the columns alone, so they stay when the rows fail.
  if (QSqlQuery columns = run(QStringLiteral("SELECT * FROM (%1) AS grid LIMIT 0").arg(m_sql));
      !columns.lastError().isValid())
    for (int c = 0; c < columns.record().count(); ++c)
      m_headers << columns.record().fieldName(c);
  if (m_key >= 0 && m_key < m_headers.size()) {
    QSqlQuery range = run(QStringLiteral("SELECT min(%2), max(%2), count(*) FROM (%1) AS grid").arg(m_sql, keyName()));
    if (range.next()) {
      m_firstKey = range.value(0).toLongLong();
      m_rows = range.value(2).toInt();
      if (m_rows > 0 && (m_sortColumn >= 0 || range.value(1).toLongLong() - m_firstKey + 1 != m_rows)) {
        QSqlQuery keys = run(QStringLiteral("SELECT %2 FROM (%1) AS grid%3").arg(m_sql, keyName(), orderBy()));
        while (keys.next())
          m_keys << keys.value(0).toLongLong();
        if (keys.lastError().isValid())
          m_failure = db::explain(db::Error(keys.lastError()));
      }
    } else if (m_failure.isEmpty()) {
      m_failure = db::explain(db::Error(range.lastError()));
    }
  } else {
    QSqlQuery all = run(orderedSql());
    while (all.next()) {
      QVariantList row;
      for (int c = 0; c < m_headers.size(); ++c)
        row << all.value(c);
      m_all << row;
    }
    if (all.lastError().isValid())
      m_failure = db::explain(db::Error(all.lastError()));
    m_rows = int(m_all.size());
  }
  if (!m_failure.isEmpty()) {
    m_rows = 0;
    m_all.clear();
    m_keys.clear();
  }
  endResetModel();
  // The newest rows are the first shown; a failure to read them is a
  // failure to read the list.
  if (m_failure.isEmpty() && m_key >= 0 && m_rows > 0 && (values(m_rows - 1), !m_failure.isEmpty())) {
    beginResetModel();
    m_rows = 0;
    m_windows.clear();
    endResetModel();
  }
  return m_failure.isEmpty();
}

QSqlQuery GridModel::run(const QString &sql, const QVariantList &extra) const {
  // Through the store, as every statement goes; a failure is the list's.
  try {
    return m_store.exec(sql, m_values + extra);
  } catch (const db::Error &e) {
    m_failure = db::explain(e);
    return QSqlQuery();
  }
}

QString GridModel::keyName() const { return QLatin1Char('"') + m_headers.value(m_key) + QLatin1Char('"'); }

qint64 GridModel::keyAt(int row) const { return m_keys.isEmpty() ? m_firstKey + row : m_keys.value(row); }

const QVariantList &GridModel::values(int row) const {
  static const QVariantList none;
  if (row < 0 || row >= m_rows)
    return none;
  if (m_key < 0)
    return m_all[row];
  const int window = row / windowRows;
  if (!m_windows.contains(window)) {
    const int first = window * windowRows;
    const int last = std::min(m_rows, first + windowRows) - 1;
    // In receipt order the window is a range of keys; sorted by another
    // column, the window's own keys (whole numbers, read from the table).
    QSqlQuery rows;
    if (m_sortColumn < 0) {
      rows = run(QStringLiteral("SELECT * FROM (%1) AS grid WHERE %2 BETWEEN ? AND ?").arg(m_sql, keyName()),
                 {keyAt(first), keyAt(last)});
    } else {
      QStringList keys;
      for (int r = first; r <= last; ++r)
        keys << QString::number(keyAt(r));
      rows = run(QStringLiteral("SELECT * FROM (%1) AS grid WHERE %2 IN (%3)")
                     .arg(m_sql, keyName(), keys.join(QLatin1Char(','))));
    }
    QHash<qint64, QVariantList> byKey;
    while (rows.next()) {
      QVariantList values;
      for (int c = 0; c < m_headers.size(); ++c)
        values << rows.value(c);
      byKey.insert(values.value(m_key).toLongLong(), values);
    }
    if (rows.lastError().isValid())
      m_failure = db::explain(db::Error(rows.lastError()));
    auto *read = new QList<QVariantList>;
    for (int r = first; r <= last && m_failure.isEmpty(); ++r)
      read->append(byKey.value(keyAt(r)));
    m_windows.insert(window, read);
  }
  const QList<QVariantList> *read = m_windows.object(window);
  const int at = row - window * windowRows;
  return at < read->size() ? (*read)[at] : none;
}

int GridModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : m_rows; }

int GridModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_headers.size()); }

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  // A list of this program's own shows its headers in words, as on paper.
  if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
    return m_paper ? QString(m_headers.value(section)).replace(QLatin1Char('_'), QLatin1Char(' '))
                   : m_headers.value(section);
  return QAbstractTableModel::headerData(section, orientation, role);
}

QVariant GridModel::data(const QModelIndex &index, int role) const {
  if (!index.isValid())
    return {};
  if (m_status >= 0 && (role == Qt::ForegroundRole || role == Qt::ToolTipRole)) {
    if (!isCancelled(index.row()))
      return {};
    return role == Qt::ForegroundRole ? QVariant(QColor(Qt::gray)) : values(index.row()).value(m_status);
  }
  if (role == Qt::EditRole)
    return values(index.row()).value(index.column());
  if (role != Qt::DisplayRole)
    return {};
  const QVariant value = values(index.row()).value(index.column());
  return value.isNull() ? QVariant() : QVariant(shown(index.column(), value));
}

QString GridModel::shown(int column, const QVariant &value, bool printed) const {
  if (value.isNull())
    return {};
  if (m_money.contains(column))
    // On screen an amount reads as on the residents' papers ("1,050.00");
    // the printed lists keep their own way.
    return !printed || m_paper ? Money::fromAgorot(value.toLongLong()).toPaper()
                               : Money::fromAgorot(value.toLongLong()).toDisplay();
  if (m_dates.contains(column)) {
    const QString stored = value.toString();
    auto found = m_shownDates.constFind(stored);
    if (found == m_shownDates.constEnd()) {
      const QDate date = dates::fromIso(stored);
      found = m_shownDates.insert(stored, date.isValid() ? dates::toShort(date) : stored);
    }
    return *found;
  }
  if (m_leftToRight.contains(column))
    return leftToRight(value.toString());
  return value.toString();
}

bool GridModel::isCancelled(int row) const {
  return m_status >= 0 && !values(row).value(m_status).toString().isEmpty();
}

qint64 GridModel::key(int row) const { return values(row).value(m_key).toLongLong(); }

int GridModel::rowOfKey(qint64 key) const {
  if (m_key < 0 || m_rows == 0)
    return -1;
  if (m_keys.isEmpty())
    return key >= m_firstKey && key < m_firstKey + m_rows ? int(key - m_firstKey) : -1;
  if (m_sortColumn >= 0)
    return int(m_keys.indexOf(key));
  const auto found = std::lower_bound(m_keys.begin(), m_keys.end(), key);
  return found != m_keys.end() && *found == key ? int(found - m_keys.begin()) : -1;
}

int GridModel::newestRow() const {
  if (m_key < 0 || m_sortColumn < 0 || m_keys.isEmpty())
    return m_rows - 1;
  return int(std::max_element(m_keys.begin(), m_keys.end()) - m_keys.begin());
}

void GridModel::sort(int column, Qt::SortOrder order) {
  if (column < 0 || (!m_headers.isEmpty() && column >= columnCount()))
    column = -1;
  if (column == m_sortColumn && (column < 0 || order == m_sortOrder))
    return;
  m_sortColumn = column;
  m_sortOrder = order;
  if (!m_sql.isEmpty() || !m_headers.isEmpty())
    reload();
}

QString GridModel::orderedSql() const {
  return m_sortColumn < 0 ? m_sql : QStringLiteral("SELECT * FROM (%1) AS grid%2").arg(m_sql, orderBy());
}

QString GridModel::orderBy() const {
  if (m_sortColumn < 0)
    return QStringLiteral(" ORDER BY ") + keyName();
  QString clause = QStringLiteral(" ORDER BY \"%1\" %2")
                       .arg(m_headers.value(m_sortColumn), m_sortOrder == Qt::AscendingOrder ? "ASC" : "DESC");
  if (m_key >= 0)
    clause += QStringLiteral(", ") + keyName();
  return clause;
}

std::function<bool(QStringList &)> GridModel::printedRows() { return rowsAsShown(true); }

std::function<bool(QStringList &)> GridModel::shownRows() { return rowsAsShown(false); }

std::function<bool(QStringList &)> GridModel::rowsAsShown(bool printed) {
  if (m_sql.isEmpty()) {
    // Given rows are held whole: the rows as shown now.
    auto next = std::make_shared<qsizetype>(0);
    return [self = QPointer<GridModel>(this), rows = m_all, next, printed](QStringList &cells) {
      if (!self)
        return false;
      const int columns = printed ? self->printedColumns() : self->columnCount();
      while (*next < rows.size()) {
        const QVariantList &row = rows[(*next)++];
        if (printed && self->m_status >= 0 && !row.value(self->m_status).toString().isEmpty())
          continue;
        cells.clear();
        for (int c = 0; c < columns; ++c)
          cells << self->shown(c, row.value(c), printed);
        return true;
      }
      return false;
    };
  }
  // As the grid shows them, in one reading from the first row to the last.
  auto query = std::make_shared<QSqlQuery>(run(orderedSql()));
  if (query->lastError().isValid()) {
    m_failure = db::explain(db::Error(query->lastError()));
    return [](QStringList &) { return false; };
  }
  // A model gone meanwhile (its window closed) ends the rows, never reads freed memory.
  return [self = QPointer<GridModel>(this), query, printed](QStringList &cells) {
    if (!self)
      return false;
    const int status = printed ? self->m_status : -1;
    const int columns = printed ? self->printedColumns() : self->columnCount();
    while (query->next()) {
      if (status >= 0 && !query->value(status).toString().isEmpty())
        continue;
      cells.clear();
      for (int c = 0; c < columns; ++c)
        cells << self->shown(c, query->value(c), printed);
      return true;
    }
    if (query->lastError().isValid())
      self->m_failure = db::explain(db::Error(query->lastError()));
    query->finish();
    return false;
  };
}

QStringList GridModel::printedHeaders() const {
  QStringList headers = m_headers.mid(0, printedColumns());
  if (m_paper)
    for (QString &header : headers)
      header.replace(QLatin1Char('_'), QLatin1Char(' '));
  return headers;
}

qint64 GridModel::printedCount() {
  if (m_sql.isEmpty())
    return m_rows;
  QSqlQuery count = run(QStringLiteral("SELECT count(*) FROM (%1) AS grid").arg(m_sql));
  return count.next() ? count.value(0).toLongLong() : 0;
}

} // namespace domiva
