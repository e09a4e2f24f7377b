#pragma once
// A list printout painted page after page straight from its rows, so a list
// of any length takes one page of memory: the same painting serves the
// printer, the PDF and a preview.
#include "printing/reportstyle.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <functional>
#include <vector>

class QPagedPaintDevice;

namespace domiva::listing {

struct Column {
  QString header;
  int width = 1;       // relative to the other columns
  bool amount = false; // money: summed at the end of a list that counts its rows
};

struct Layout {
  bool landscape = false;
  // Above the title on the first page: whose building, and when printed.
  QString building;
  QDate printedOn;
  QString watermark; // across every page ("מבוטלת")
  QString title;     // on the first page, with the lines under it
  // A section that starts a page of its own, its title and lines centred as
  // the first page's are: a paper of its own within the printout.
  bool ownPage = false;
  ReportStyle titleStyle{reportFont(QStringLiteral("Arial"), 14, true)};
  QStringList intro;
  // Where the intro's lines stand on a page of their own (a letter's body at the right).
  Qt::Alignment introAlignment = Qt::AlignHCenter;
  ReportStyle introStyle{reportFont(QStringLiteral("Arial"), 12, true)};
  QString band; // a row across the table above the headers, on every page
  ReportStyle bandStyle{reportFont(QStringLiteral("Arial"), 12, true)};
  QList<Column> columns; // in reading order: the first stands at the right edge
  ReportStyle headerStyle{reportFont(QStringLiteral("Arial"), 10, true), Qt::black, QColor(0xE0, 0xE0, 0xE0)};
  ReportStyle rowStyle{reportFont(QStringLiteral("Arial"), 10)};
  // After the last row: how many rows were printed and the sum of each
  // amount column, then the footer's lines.
  bool counted = false;
  bool paper = false; // its sums read "1,050.00", as the papers' amounts do
  QStringList footer;
  ReportStyle footerStyle{reportFont(QStringLiteral("Arial"), 10, true)};
};

// Gives the next row's cells in reading order; false after the last row.
using Rows = std::function<bool(QStringList &cells)>;

// A printout: its layout, and its rows read afresh each time it is painted;
// then any further sections, each a table under its own title.
struct Printout {
  Layout layout;
  std::function<Rows()> open;
  qint64 rowCount = 0;              // sizes the progress, and says whether there is anything to print
  std::function<QString()> failure; // after painting: why the rows could not all be read
  std::vector<Printout> sections;   // only their titles, columns, rows and endings are painted
  // After painting: why this or a section's rows could not all be read.
  QString incomplete() const;
};

// Told after each page its number and the pages expected; false stops.
using Progress = std::function<bool(int page, int pages)>;

// What was painted, page by page, for checking a printout without paper.
struct PageModel {
  QList<QList<QStringList>> pages; // each page's header row, then its rows
  QStringList lines;               // the lines across the page, in order
};

struct Painted {
  int pages = 0;
  qint64 rows = 0;
  bool finished = false; // every row painted, not stopped by `progress`
};

// Paints the printout on `device`: the building, the date and the title on
// the first page, the column headers at the top of every page, rows never
// split across a page, the count, sums and footer after the last row, each
// section after it under its title, and each page's number. `model`, when
// given, records what went on each page.
Painted paint(QPagedPaintDevice &device, const Printout &printout, const Progress &progress = {},
              PageModel *model = nullptr);

} // namespace domiva::listing
