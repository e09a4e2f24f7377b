#include "ui/grid.h"

#include "printing/csv.h"
#include "printing/reportstyle.h"
#include "store/gridmodel.h"
#include "text/dates.h"
#include "text/texts.h"
#include "ui/messages.h"
#include "ui/printing.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QDateEdit>
#include <QDir>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QTableView>
#include <algorithm>

namespace domiva::grid {

void bind(QTableView *view, QAbstractItemModel *model) {
  view->setModel(model);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  // Tab leaves the grid for the window's next control; arrows move inside it.
  view->setTabKeyNavigation(false);
  view->horizontalHeader()->setStretchLastSection(true);
  view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
  view->verticalHeader()->hide(); // no row numbers beside the data
  // Columns fit about a screenful of rows, not the first thousand, which a
  // long list would have to read first.
  view->horizontalHeader()->setResizeContentsPrecision(64);
  view->verticalHeader()->setResizeContentsPrecision(64);
  // A header click sorts by its column, a second reverses, a third returns
  // to the order of the query; a grid opens in its model's order.
  const auto *grid = qobject_cast<const GridModel *>(model);
  view->horizontalHeader()->setSortIndicator(grid ? grid->sortColumn() : -1,
                                             grid ? grid->sortOrder() : Qt::AscendingOrder);
  view->horizontalHeader()->setSortIndicatorClearable(true);
  view->setSortingEnabled(true);
  // Columns fit their headers and the rows in view on opening and after
  // every reload; the screens' own widths only widen them.
  view->resizeColumnsToContents();
  QObject::connect(model, &QAbstractItemModel::modelReset, view, [view] {
    view->resizeColumnsToContents();
    // Columns that came with the rows: the last one takes the free width too.
    view->horizontalHeader()->setStretchLastSection(false);
    view->horizontalHeader()->setStretchLastSection(true);
  });
  // Every grid goes to a spreadsheet from its context menu. The menu pops
  // up as a child of the grid, so a window closed under its open menu takes
  // the menu with it (a menu run in a loop of its own would return into a
  // deleted window).
  auto *save = new QAction(texts::saveCsv, view);
  QObject::connect(save, &QAction::triggered, view, [view] { saveCsv(view, view->window()->windowTitle()); });
  view->addAction(save);
  // The menu holds the grid's actions: saving, and cancelling where the window adds it.
  view->setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(view, &QWidget::customContextMenuRequested, view, [view](const QPoint &at) {
    auto *menu = new QMenu(view);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addActions(view->actions());
    menu->popup(view->viewport()->mapToGlobal(at));
  });
  // Shift+F10 opens it from the keyboard, as the Menu key does, at the chosen row.
  auto *menuKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), view, nullptr, nullptr, Qt::WidgetShortcut);
  QObject::connect(menuKey, &QShortcut::activated, view,
                   [view] { emit view->customContextMenuRequested(view->visualRect(view->currentIndex()).center()); });
}

void saveCsv(QTableView *view, const QString &name) {
  QWidget *window = view->window();
  const auto path = messages::chooseDocument(window, texts::saveCsv, name, QStringLiteral("csv"));
  if (!path)
    return;
  const QAbstractItemModel *model = view->model();
  QStringList headers;
  for (int c = 0; c < model->columnCount(); ++c)
    headers << model->headerData(c, Qt::Horizontal).toString();
  // The rows as the grid shows them, in its order: a grid of ours reads
  // them in one pass rather than window by window.
  int row = 0;
  auto *grid = qobject_cast<GridModel *>(view->model());
  const listing::Rows rows = grid ? listing::Rows(grid->shownRows()) : listing::Rows([&](QStringList &cells) {
    if (row >= model->rowCount())
      return false;
    cells.clear();
    for (int c = 0; c < model->columnCount(); ++c)
      cells << model->index(row, c).data().toString();
    ++row;
    return true;
  });
  const bool written = csv::write(*path, headers, rows);
  if (written && (!grid || grid->failure().isEmpty()))
    messages::tell(window, texts::fileSaved.arg(QDir::toNativeSeparators(*path)));
  else
    messages::show(window, texts::fileFailed.arg(QDir::toNativeSeparators(*path)));
}

void fitWindow(QWidget *window) {
  // Measured in the fonts the window will show.
  window->ensurePolished();
  window->adjustSize();
  int wider = 0;
  for (const QTableView *view : window->findChildren<QTableView *>()) {
    const QHeaderView *header = view->horizontalHeader();
    if (view->isHidden() || header->count() == 0)
      continue;
    // The stretched last column, when there is no room to stretch, falls
    // back to the default width.
    const int last = header->logicalIndex(header->count() - 1);
    const int columns = header->length() - header->sectionSize(last) +
                        std::max(header->sectionSize(last), header->defaultSectionSize());
    const int needed = columns + 2 * view->frameWidth() + view->verticalScrollBar()->sizeHint().width();
    wider = std::max(wider, needed - view->width());
  }
  // On the screen of the window the user works in (the menu's), whole:
  // never larger than the screen's free area, and placed inside it.
  const QWidget *active = QApplication::activeWindow();
  QScreen *screen = active ? active->screen() : window->screen();
  if (!screen) {
    window->resize(window->width() + std::max(wider, 0), window->height());
    return;
  }
  const QRect room = screen->availableGeometry().adjusted(20, 20, -20, -20);
  window->resize(std::min(window->width() + std::max(wider, 0), room.width()),
                 std::min(window->height(), room.height()));
  QRect placed(QPoint(), window->size());
  placed.moveCenter(room.center());
  window->move(placed.topLeft());
}

void choose(QTableView *view, int row) {
  const QModelIndex index = view->model()->index(row, 0);
  if (!index.isValid())
    return;
  view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  view->scrollTo(index);
}

void showNewest(QTableView *view) {
  const auto *model = qobject_cast<const GridModel *>(view->model());
  choose(view, model ? model->newestRow() : view->model()->rowCount() - 1);
}

void setWidths(QTableView *view, const QList<int> &twips) {
  // Never narrower than the header or the rows shown, so nothing is cut off.
  for (int column = 0; column < twips.size(); ++column)
    view->setColumnWidth(column,
                         std::max({fromTwips(view, twips[column]), view->horizontalHeader()->sectionSizeHint(column),
                                   static_cast<QAbstractItemView *>(view)->sizeHintForColumn(column)}));
}

void keepTypedText(QWidget *window) {
  for (QComboBox *box : window->findChildren<QComboBox *>())
    if (box->isEditable() && box->completer())
      box->completer()->setCompletionMode(QCompleter::PopupCompletion);
}

void pressWithEnter(QWidget *window, QLineEdit *lastField, QPushButton *main) {
  // Outside a dialog a button answers Enter only when it is an auto-default one.
  for (QPushButton *button : window->findChildren<QPushButton *>())
    button->setAutoDefault(true);
  if (lastField)
    QObject::connect(lastField, &QLineEdit::returnPressed, main, &QPushButton::click);
}

namespace {
// A date picker is one Tab stop: Tab and Shift+Tab leave it, the arrows
// move between its day, month and year.
class OneTabStop : public QObject {
public:
  using QObject::QObject;
  bool eventFilter(QObject *watched, QEvent *event) override {
    if (event->type() != QEvent::KeyPress)
      return false;
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (key != Qt::Key_Tab && key != Qt::Key_Backtab)
      return false;
    auto *picker = static_cast<QWidget *>(watched);
    const bool forward = key == Qt::Key_Tab && !(static_cast<QKeyEvent *>(event)->modifiers() & Qt::ShiftModifier);
    QWidget *next = picker;
    do
      next = forward ? next->nextInFocusChain() : next->previousInFocusChain();
    while (next != picker && (picker->isAncestorOf(next) || !(next->focusPolicy() & Qt::TabFocus) ||
                              !next->isVisible() || !next->isEnabled()));
    next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
  }
};
} // namespace

void showDates(const QList<QDateEdit *> &pickers) {
  for (QDateEdit *picker : pickers) {
    picker->installEventFilter(new OneTabStop(picker));
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

listing::Printout printout(QTableView *view, GridModel *model, const QString &title) {
  listing::Printout list;
  list.layout.title = title;
  // The columns share the page as they share the grid, fitted to their contents.
  const QStringList headers = model->printedHeaders();
  for (int c = 0; c < headers.size(); ++c)
    list.layout.columns << listing::Column{headers[c], std::max(view->columnWidth(c), 1), model->isMoney(c)};
  list.layout.counted = true;
  list.layout.paper = model->isPaper();
  // A wide list (the payments, ten columns) needs the page's length to keep
  // a date on one line.
  list.layout.landscape = headers.size() > 8;
  // The window may close while its list prints: its rows then end, refused.
  list.open = [model = QPointer<GridModel>(model)] {
    return model ? model->printedRows() : listing::Rows([](QStringList &) { return false; });
  };
  list.rowCount = model->printedCount();
  list.failure = [model = QPointer<GridModel>(model)] { return model ? model->failure() : texts::printRefused; };
  return list;
}

bool readForPrinting(QWidget *window, const QList<const GridModel *> &models, const QString &subject) {
  for (const GridModel *model : models)
    if (!checkRead(window, model, subject)) {
      messages::show(window, texts::printRefused);
      return false;
    }
  return true;
}

void printList(QWidget *window, QTableView *view, GridModel *model, const QString &title, const QString &subject) {
  if (readForPrinting(window, {model}, subject))
    printing::print(window, printout(view, model, title));
}

} // namespace domiva::grid
