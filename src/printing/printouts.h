#pragma once
// Where a printout's rows come from: a query on the books, or rows at hand.
#include "printing/listwriter.h"
#include "store/database.h"

#include <QList>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <functional>

namespace domiva::listing {

// A printout whose rows are those of `sql` with `values` bound, each made
// into cells by `cells`, read as it is painted. Throws db::Error when the
// rows cannot even be counted.
Printout fromQuery(const db::Store &store, const Layout &layout, const QString &sql, const QVariantList &values,
                   const std::function<QStringList(const QSqlQuery &)> &cells);
// A printout of rows already at hand.
Printout fromRows(const Layout &layout, const QList<QStringList> &rows);
// The layout of a section of a paper (a table under its own title).
Layout section(const QString &title, const QList<Column> &columns);
// Adds a paper of its own (an apartment's statement, a letter) to `paper`,
// its title as a paper's: the first opens it under the building's name, each
// next starts a page of its own.
void addPage(Printout &paper, Printout page);

} // namespace domiva::listing
