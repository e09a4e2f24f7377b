#pragma once
#include "data/listwriter.h"

#include <QList>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QStringList>
#include <QVariantList>

namespace domiva {

// The rows behind a grid: a SELECT with bound values whose aliases are the
// headers. Money columns (agorot) show in the plain decimal form, date
// columns (ISO text) in the system's short date form. Rows are fetched as
// the grid scrolls to them.
class GridModel : public QSqlQueryModel {
  Q_OBJECT
public:
  explicit GridModel(QObject *parent = nullptr);

  void setMoneyColumns(QList<int> columns) { m_money = std::move(columns); }
  void setDateColumns(QList<int> columns) { m_dates = std::move(columns); }
  // A column that is empty unless the row was cancelled: such a row is
  // greyed, its text is the row's tooltip, and printouts leave the row and
  // the columns from this one on out.
  void setStatusColumn(int column) { m_status = column; }
  // The column holding the row's receipt number.
  void setKeyColumn(int column) { m_key = column; }

  // Runs `sql` with `values` bound in order; false if the rows could not be
  // read, and then the grid shows its headers and no row.
  bool load(const QString &sql, const QVariantList &values = {});
  // Runs the last query again, so the grid shows the table as it now stands.
  bool reload();
  // The engine's words when the last reading failed, else empty.
  QString failure() const { return m_failure; }

  QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

  bool isCancelled(int row) const;
  qint64 key(int row) const;

  // What a printout of the grid holds, read afresh as it is printed: its
  // rows not cancelled, as the grid shows them (a failed read ends them and
  // sets failure()); the headers; and about how many rows there are.
  listing::Rows printedRows();
  QStringList printedHeaders() const;
  qint64 printedCount();

private:
  QSqlQuery run(const QString &sql, bool forwardOnly = false) const;
  QString shown(int column, const QVariant &value) const;
  QString m_sql;
  QString m_failure;
  QVariantList m_values;
  QList<int> m_money;
  QList<int> m_dates;
  int m_status = -1;
  int m_key = -1;
  int printedColumns() const { return m_status < 0 ? columnCount() : m_status; }
};

} // namespace domiva
