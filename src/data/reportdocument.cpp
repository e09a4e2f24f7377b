#include "data/reportdocument.h"

#include <QTextCursor>
#include <QTextFrame>
#include <QTextTable>

namespace domiva {
namespace {

QTextCharFormat charFormat(const ReportStyle &style) {
  QTextCharFormat format;
  format.setFont(style.font);
  format.setForeground(style.text);
  return format;
}

QTextBlockFormat blockFormat(Qt::Alignment alignment) {
  QTextBlockFormat format;
  format.setLayoutDirection(Qt::RightToLeft);
  format.setAlignment(alignment);
  return format;
}

void insertLine(QTextCursor &cursor, const QString &text, const ReportStyle &style, Qt::Alignment alignment,
                bool first) {
  if (!first)
    cursor.insertBlock();
  QTextBlockFormat block = blockFormat(alignment);
  if (style.background.alpha() > 0)
    block.setBackground(style.background);
  cursor.setBlockFormat(block);
  cursor.insertText(text, charFormat(style));
}

void fillCell(QTextTable *table, int row, int readingColumn, const QString &text, const ReportStyle &style) {
  // Tables lay out left to right, so the reading order is mirrored here.
  QTextTableCell cell = table->cellAt(row, table->columns() - 1 - readingColumn);
  if (style.background.alpha() > 0) {
    QTextCharFormat cellFormat = cell.format();
    cellFormat.setBackground(style.background);
    cell.setFormat(cellFormat);
  }
  QTextCursor cursor = cell.firstCursorPosition();
  cursor.setBlockFormat(blockFormat(Qt::AlignRight | Qt::AlignVCenter));
  cursor.insertText(text, charFormat(style));
}

} // namespace

QFont reportFont(const QString &windowsFamily, qreal points, bool bold, bool underline) {
  static const QHash<QString, QString> standIns{
      {QStringLiteral("Arial"), QStringLiteral("Nachlieli CLM")},
      {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Nachlieli CLM")},
      {QStringLiteral("MS Sans Serif"), QStringLiteral("Nachlieli CLM")},
      {QStringLiteral("Narkisim"), QStringLiteral("Miriam CLM")},
      {QStringLiteral("Guttman David"), QStringLiteral("David CLM")},
  };
  QFont font;
  font.setFamilies({standIns.value(windowsFamily, windowsFamily), windowsFamily});
  font.setPointSizeF(points);
  font.setBold(bold);
  font.setUnderline(underline);
  return font;
}

std::unique_ptr<QTextDocument> buildReport(const ReportLayout &layout) {
  auto document = std::make_unique<QTextDocument>();
  document->setDefaultFont(layout.rowStyle.font);
  QTextOption option = document->defaultTextOption();
  option.setTextDirection(Qt::RightToLeft);
  document->setDefaultTextOption(option);

  QTextCursor cursor(document.get());
  insertLine(cursor, layout.title, layout.titleStyle, Qt::AlignHCenter, true);
  for (const QString &line : layout.introLines)
    insertLine(cursor, line, layout.introStyle, Qt::AlignHCenter, false);
  insertLine(cursor, QString(), layout.rowStyle, Qt::AlignRight, false);

  const int columns = int(layout.headers.size());
  const int headingRows = layout.band.isEmpty() ? 1 : 2;
  QTextTableFormat tableFormat;
  tableFormat.setHeaderRowCount(headingRows);
  tableFormat.setCellPadding(3);
  tableFormat.setCellSpacing(0);
  tableFormat.setBorder(0.5);
  tableFormat.setBorderBrush(Qt::darkGray);
  tableFormat.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
  tableFormat.setWidth(QTextLength(QTextLength::PercentageLength, 100));
  int totalWidth = 0;
  for (int width : layout.widths)
    totalWidth += width;
  if (layout.widths.size() == columns && totalWidth > 0) {
    QList<QTextLength> constraints;
    for (int c = columns - 1; c >= 0; --c)
      constraints << QTextLength(QTextLength::PercentageLength, 100.0 * layout.widths[c] / totalWidth);
    tableFormat.setColumnWidthConstraints(constraints);
  }
  QTextTable *table = cursor.insertTable(headingRows + int(layout.rows.size()), columns, tableFormat);
  int row = 0;
  if (!layout.band.isEmpty()) {
    table->mergeCells(0, 0, 1, columns);
    fillCell(table, row++, columns - 1, layout.band, layout.bandStyle);
  }
  for (int c = 0; c < columns; ++c)
    fillCell(table, row, c, layout.headers[c], layout.headerStyle);
  ++row;
  for (const QStringList &cells : layout.rows) {
    for (int c = 0; c < columns && c < cells.size(); ++c)
      fillCell(table, row, c, cells[c], layout.rowStyle);
    ++row;
  }
  if (!layout.footer.isEmpty()) {
    cursor.movePosition(QTextCursor::End);
    insertLine(cursor, QString(), layout.rowStyle, Qt::AlignRight, false);
    insertLine(cursor, layout.footer, layout.footerStyle, Qt::AlignRight, false);
  }
  return document;
}

QList<QStringList> reportTable(const QTextDocument &document) {
  QList<QStringList> rows;
  for (QTextFrame *frame : document.rootFrame()->childFrames()) {
    auto *table = qobject_cast<QTextTable *>(frame);
    if (!table)
      continue;
    for (int r = 0; r < table->rows(); ++r) {
      QStringList cells;
      for (int c = table->columns() - 1; c >= 0; --c) {
        const QTextTableCell cell = table->cellAt(r, c);
        if (cell.row() != r || cell.column() + cell.columnSpan() - 1 != c)
          continue; // the far end of a merged cell was read already
        QTextCursor cursor = cell.firstCursorPosition();
        cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
        cells << cursor.selectedText();
      }
      rows << cells;
    }
    break;
  }
  return rows;
}

} // namespace domiva

namespace domiva {
std::unique_ptr<QTextDocument> buildListPrintout(const QString &title, const QStringList &headers,
                                                 const QList<QStringList> &rows) {
  ReportLayout layout;
  layout.title = title;
  layout.titleStyle = {reportFont(QStringLiteral("Arial"), 14, true), Qt::black, Qt::transparent};
  layout.headers = headers;
  layout.headerStyle = {reportFont(QStringLiteral("Arial"), 10, true), Qt::black, QColor(0xE0, 0xE0, 0xE0)};
  layout.rows = rows;
  layout.rowStyle = {reportFont(QStringLiteral("Arial"), 10), Qt::black, Qt::transparent};
  return buildReport(layout);
}
} // namespace domiva
