#include "common/grid.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QTableView>

namespace domiva::grid {

void bind(QTableView *view, QAbstractItemModel *model) {
  view->setModel(model);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
}

void setWidths(QTableView *view, const QList<int> &twips) {
  // Never narrower than the header, so no Hebrew header is cut off.
  for (int column = 0; column < twips.size(); ++column)
    view->setColumnWidth(column,
                         qMax(fromTwips(view, twips[column]), view->horizontalHeader()->sectionSizeHint(column)));
}

int fromTwips(const QWidget *widget, int twips) { return twips * widget->logicalDpiX() / 1440; }

} // namespace domiva::grid
