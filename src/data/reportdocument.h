#pragma once
#include <QColor>
#include <QFont>
#include <QList>
#include <QStringList>
#include <QTextDocument>
#include <memory>

namespace domiva {

struct ReportStyle {
  QFont font;
  QColor text = Qt::black;
  QColor background = Qt::transparent;
};

// A printed list: a title once, optional lines under it, a table whose band
// and heading rows repeat at the top of every page, and an optional footer.
// Columns are given in reading order: the first stands at the right edge.
struct ReportLayout {
  QString title;
  ReportStyle titleStyle;
  QStringList introLines;
  ReportStyle introStyle;
  QString band; // a row across the table above the headings, when not empty
  ReportStyle bandStyle;
  QStringList headers;
  ReportStyle headerStyle;
  QList<QStringList> rows;
  ReportStyle rowStyle;
  QList<int> widths; // relative column widths, in reading order
  QString footer;
  ReportStyle footerStyle;
};

std::unique_ptr<QTextDocument> buildReport(const ReportLayout &layout);

// The fonts the printouts ask for, with the Hebrew Culmus faces standing in
// for the Windows ones; Qt falls back to the system font when one is missing.
QFont reportFont(const QString &windowsFamily, qreal points, bool bold = false, bool underline = false);

// The cells of the report's table, rows top to bottom, cells in reading
// order, heading rows included.
QList<QStringList> reportTable(const QTextDocument &document);

} // namespace domiva

namespace domiva {
// A list printout: the title once, the grid's headers on every page and its
// rows as the grid shows them, in the grid's order read right to left.
std::unique_ptr<QTextDocument> buildListPrintout(const QString &title, const QStringList &headers,
                                                 const QList<QStringList> &rows);
} // namespace domiva
