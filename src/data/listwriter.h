#pragma once
// A list printout painted page after page straight from its rows, so a list
// of any length takes one page of memory: the same painting serves the
// printer, the PDF and a preview.
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class QPagedPaintDevice;

namespace domiva::listing {

struct Column {
  QString header;
  int width = 1; // relative to the other columns
};

struct Layout {
  QString title;              // on the first page
  QList<Column> columns;      // in reading order: the first stands at the right edge
  QString footer;             // after the last row
};

// Gives the next row's cells in reading order; false after the last row.
using Rows = std::function<bool(QStringList &cells)>;
// Told after each page its number and the pages expected; false stops.
using Progress = std::function<bool(int page, int pages)>;

// What was painted, page by page, for checking a printout without paper.
struct PageModel {
  QList<QList<QStringList>> pages; // each page's header row, then its rows
};

struct Painted {
  int pages = 0;
  qint64 rows = 0;
  bool finished = false; // every row painted, not stopped by `progress`
};

// Paints the list on `device`: the title on the first page, the column
// headers at the top of every page, rows never split across a page, the
// footer after the last row, and each page's number. `rowCount` only sizes
// the progress. `model`, when given, records what went on each page.
Painted paint(QPagedPaintDevice &device, const Layout &layout, const Rows &rows, qint64 rowCount,
              const Progress &progress = {}, PageModel *model = nullptr);

} // namespace domiva::listing
