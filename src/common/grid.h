#pragma once
// What every screen does alike with its grids and its date pickers.
#include <QList>

class QAbstractItemModel;
class QDateEdit;
class QTableView;
class QWidget;

namespace domiva::grid {
// A read-only grid over `model`: every change goes through the screen's own rules.
void bind(QTableView *view, QAbstractItemModel *model);
// Widths in twips (1/1440 inch), from column 0 on, as the screens give them.
void setWidths(QTableView *view, const QList<int> &twips);
// Date pickers show the same short date form as the grids.
void showDates(const QList<QDateEdit *> &pickers);
int fromTwips(const QWidget *widget, int twips);
} // namespace domiva::grid
