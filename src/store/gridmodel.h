#pragma once
#include "store/database.h"

#include <QAbstractTableModel>
#include <QCache>
#include <QHash>
#include <QList>
#include <QSqlQuery>
#include <QStringList>
#include <QVariantList>
#include <functional>

namespace domiva {

// The rows behind a grid: a SELECT with bound values whose aliases are the
// headers. Money columns (agorot) show in the plain decimal form, date
// columns (ISO text) in the system's short date form.
//
// A grid with a key column (a table's receipt number) reads its rows by
// window as they come into view, each window a range of keys, and lets the
// windows far from view go: its row count is known at once, the last row is
// one read away, and memory stays the same however long the table. A grid
// without one (short lists: residents, sums, a year's matrix) reads all its
// rows at once.
class GridModel : public QAbstractTableModel {
  Q_OBJECT
public:
  explicit GridModel(db::Store store, QObject *parent = nullptr);

  void setMoneyColumns(QList<int> columns) { m_money = std::move(columns); }
  // A grid of the papers for the residents: printed, its amounts read
  // "1,050.00" and its headers are words with spaces.
  void setPaper(bool paper) { m_paper = paper; }
  bool isPaper() const { return m_paper; }
  bool isMoney(int column) const { return m_money.contains(column); }
  void setDateColumns(QList<int> columns) { m_dates = std::move(columns); }
  // Columns of phone numbers and e-mail addresses, kept left to right.
  void setLeftToRightColumns(QList<int> columns) { m_leftToRight = std::move(columns); }
  // A column that is empty unless the row was cancelled: such a row is
  // greyed, its text is the row's tooltip, and printouts leave the row and
  // the columns from this one on out.
  void setStatusColumn(int column) { m_status = column; }
  // The column holding the row's receipt number, in ascending order of which
  // the rows are shown.
  void setKeyColumn(int column) { m_key = column; }

  // Runs `sql` with `values` bound in order; false if the rows could not be
  // read, and then the grid shows its headers and no row.
  bool load(const QString &sql, const QVariantList &values = {});
  // Runs the last query again, so the grid shows the table as it now stands.
  bool reload();
  // Shows rows computed elsewhere (no key, all at once), under `headers`.
  void show(const QStringList &headers, const QList<QVariantList> &rows);
  // The engine's words when the last reading failed, else empty.
  QString failure() const { return m_failure; }

  int rowCount(const QModelIndex &parent = {}) const override;
  int columnCount(const QModelIndex &parent = {}) const override;
  QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

  // Orders the rows by `column`'s stored value (the receipt breaking ties),
  // or with -1 as they were loaded; kept through reloads.
  void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
  int sortColumn() const { return m_sortColumn; }
  Qt::SortOrder sortOrder() const { return m_sortOrder; }

  bool isCancelled(int row) const;
  qint64 key(int row) const;
  // The row showing receipt `key`, or -1.
  int rowOfKey(qint64 key) const;
  // The row last recorded: the highest receipt, or the last row of a grid
  // without a key; -1 when there is none.
  int newestRow() const;

  // What a printout of the grid holds, read afresh as it is printed: its
  // rows not cancelled, as the grid shows them (a failed read ends them and
  // sets failure()); the headers; and about how many rows there are.
  // Each call fills `cells` with the next row; false at the end.
  std::function<bool(QStringList &cells)> printedRows();
  // Every row and column as the grid shows them, read afresh the same way
  // (for a file the user saves).
  std::function<bool(QStringList &cells)> shownRows();
  QStringList printedHeaders() const;
  qint64 printedCount();

private:
  static constexpr int windowRows = 256;
  // A statement run through the store; failed, its cause kept as the list's failure.
  QSqlQuery run(const QString &sql, const QVariantList &extra = {}) const;
  QString shown(int column, const QVariant &value, bool printed = false) const;
  const QVariantList &values(int row) const;
  qint64 keyAt(int row) const;
  QString keyName() const;
  int printedColumns() const { return m_status < 0 ? columnCount() : m_status; }
  std::function<bool(QStringList &cells)> rowsAsShown(bool printed);
  // The order the grid shows, by the sorted column or else by the key; and
  // the query with it (as loaded when unsorted).
  QString orderBy() const;
  QString orderedSql() const;

  db::Store m_store;
  QString m_sql;
  QVariantList m_values;
  mutable QString m_failure;
  // Dates as stored and as shown: a long list holds each day many times,
  // and the system's form is slow to apply.
  mutable QHash<QString, QString> m_shownDates;
  QList<int> m_money;
  QList<int> m_dates;
  QList<int> m_leftToRight;
  bool m_paper = false;
  int m_status = -1;
  int m_key = -1;
  int m_sortColumn = -1;
  Qt::SortOrder m_sortOrder = Qt::AscendingOrder;

  QStringList m_headers;
  int m_rows = 0;
  QList<QVariantList> m_all;                              // every row, for a grid without a key
  QList<QVariantList> m_given;                            // rows shown, as given, for a grid without a query
  qint64 m_firstKey = 0;                                  // keys run on from it one by one...
  QList<qint64> m_keys;                                   // ...unless some are missing or sorted: then each row's key
  mutable QCache<int, QList<QVariantList>> m_windows{16}; // windows read, by number
};

} // namespace domiva
