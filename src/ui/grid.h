#pragma once
// What every screen does alike with its grids and its date pickers.
#include "printing/listwriter.h"

#include <QList>

class QAbstractItemModel;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QTableView;
class QString;
class QWidget;

namespace domiva {
class GridModel;
}

namespace domiva::grid {
// A read-only grid over `model`: every change goes through the screen's own
// rules. Its header sorts, and its context menu saves it as CSV.
void bind(QTableView *view, QAbstractItemModel *model);
// Saves the grid's headers and rows, as shown, to a CSV file the user
// chooses, offered under `name`.
void saveCsv(QTableView *view, const QString &name);
// Sizes a window about to open so its grids show every column, as far as
// the screen allows; its layout grows the grids with the window.
void fitWindow(QWidget *window);
// Chooses row `row` (the whole row) and scrolls it into view.
void choose(QTableView *view, int row);
// Scrolls to the newest (last) row and chooses it.
void showNewest(QTableView *view);
// Widths in twips (1/1440 inch), from column 0 on, as the screens give them.
void setWidths(QTableView *view, const QList<int> &twips);
// The window's editable combo boxes keep what is typed exactly as typed:
// matches are offered in a list, never completed into the text ("1" must
// not become "11").
void keepTypedText(QWidget *window);
// Enter presses the focused button of the window (every window opened
// through openShared gets this), and in `lastField` (if any), the last entry
// before the window's main button, presses `main`.
void pressWithEnter(QWidget *window, QLineEdit *lastField, QPushButton *main);
// Date pickers show the same short date form as the grids.
void showDates(const QList<QDateEdit *> &pickers);
int fromTwips(const QWidget *widget, int twips);
// Tells the user when the grid's rows could not be read, naming `subject`
// ("רשימת התשלומים"); true when they were read.
bool checkRead(QWidget *window, const GridModel *model, const QString &subject);
// True when every one of `models` was read whole; otherwise tells the user
// why, and that the list will not be printed.
bool readForPrinting(QWidget *window, const QList<const GridModel *> &models, const QString &subject);
// The grid as a printed list under `title`: its rows not cancelled, in its
// order, its columns as wide as in `view`, ending with the count and sums.
listing::Printout printout(QTableView *view, GridModel *model, const QString &title);
// Prints the grid as a list under `title`, its columns as wide as in
// `view`; refused with a message when its
// rows could not all be read.
void printList(QWidget *window, QTableView *view, GridModel *model, const QString &title, const QString &subject);
} // namespace domiva::grid
