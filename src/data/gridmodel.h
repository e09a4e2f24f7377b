#pragma once
#include <QList>
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

  // Runs `sql` with `values` bound in order; false if the database refused it.
  bool load(const QString &sql, const QVariantList &values = {});
  // Runs the last query again, so the grid shows the table as it now stands.
  bool reload();

  QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

  // Every row as the grid shows it, fetching the rows not yet read.
  QList<QStringList> displayRows();
  QStringList headers() const;

private:
  QString m_sql;
  QVariantList m_values;
  QList<int> m_money;
  QList<int> m_dates;
};

} // namespace domiva
