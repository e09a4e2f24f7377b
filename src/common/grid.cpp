#include "common/grid.h"

#include "common/messages.h"
#include "common/printing.h"
#include "common/texts.h"
#include "data/dates.h"
#include "data/gridmodel.h"
#include "data/reportdocument.h"

#include <QAbstractItemModel>
#include <QDateEdit>
#include <QHeaderView>
#include <QTableView>
#include <algorithm>

namespace domiva::grid {

void bind(QTableView *view, QAbstractItemModel *model) {
  view->setModel(model);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  view->horizontalHeader()->setStretchLastSection(true);
  view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
}

void setWidths(QTableView *view, const QList<int> &twips) {
  // Never narrower than the header or the rows shown, so nothing is cut off.
  for (int column = 0; column < twips.size(); ++column)
    view->setColumnWidth(column, std::max({fromTwips(view, twips[column]),
                                           view->horizontalHeader()->sectionSizeHint(column),
                                           static_cast<QAbstractItemView *>(view)->sizeHintForColumn(column)}));
}

void showDates(const QList<QDateEdit *> &pickers) {
  for (QDateEdit *picker : pickers) {
    // Right to left, the editor reverses the day, month and year; the
    // direction must be set before the format, which it reverses on setting.
    picker->setLayoutDirection(Qt::LeftToRight);
    picker->setDisplayFormat(dates::shortFormat());
  }
}

int fromTwips(const QWidget *widget, int twips) { return twips * widget->logicalDpiX() / 1440; }

bool checkRead(QWidget *window, const GridModel *model, const QString &subject) {
  if (model->failure().isEmpty())
    return true;
  messages::show(window, texts::readFailed.arg(subject, model->failure()));
  return false;
}

void printList(QWidget *window, GridModel *model, const QString &title, const QString &subject) {
  const QList<QStringList> rows = model->printedRows();
  if (!checkRead(window, model, subject)) {
    messages::show(window, texts::printRefused);
    return;
  }
  printing::print(window, *buildListPrintout(title, model->printedHeaders(), rows));
}

} // namespace domiva::grid
