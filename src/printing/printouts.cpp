#include "printing/printouts.h"

#include "printing/reportstyle.h"

#include <QSqlError>
#include <memory>

namespace domiva::listing {

Printout fromRows(const Layout &layout, const QList<QStringList> &rows) {
  Printout printout;
  printout.layout = layout;
  printout.rowCount = rows.size();
  printout.open = [rows]() -> Rows {
    return [rows, next = qsizetype(0)](QStringList &cells) mutable {
      if (next == rows.size())
        return false;
      cells = rows[next++];
      return true;
    };
  };
  printout.failure = [] { return QString(); };
  return printout;
}

Printout fromQuery(const db::Store &store, const Layout &layout, const QString &sql, const QVariantList &values,
                   const std::function<QStringList(const QSqlQuery &)> &cells) {
  Printout printout;
  printout.layout = layout;
  auto count = store.exec(QStringLiteral("SELECT count(*) FROM (%1) AS rows").arg(sql), values);
  count.next();
  db::checkRead(count);
  printout.rowCount = count.value(0).toLongLong();
  auto failure = std::make_shared<QString>();
  printout.failure = [failure] { return *failure; };
  printout.open = [store, sql, values, cells, failure]() -> Rows {
    failure->clear();
    std::shared_ptr<QSqlQuery> query;
    try {
      query = std::make_shared<QSqlQuery>(store.exec(sql, values));
    } catch (const db::Error &e) {
      *failure = db::explain(e); // the cause in Hebrew, the engine's words below it
      return [](QStringList &) { return false; };
    }
    return [query, cells, failure](QStringList &row) {
      if (query->next()) {
        row = cells(*query);
        return true;
      }
      if (query->lastError().isValid())
        *failure = db::explain(db::Error(query->lastError()));
      query->finish();
      return false;
    };
  };
  return printout;
}

Layout section(const QString &title, const QList<Column> &columns) {
  Layout layout;
  layout.title = title;
  layout.titleStyle.font = reportFont(QStringLiteral("Arial"), 12, true);
  layout.columns = columns;
  return layout;
}

void addPage(Printout &paper, Printout page) {
  page.layout.ownPage = true;
  page.layout.titleStyle.font = reportFont(QStringLiteral("Arial"), 16, true);
  if (paper.layout.columns.isEmpty())
    paper = std::move(page);
  else
    paper.sections.push_back(std::move(page));
}

} // namespace domiva::listing
