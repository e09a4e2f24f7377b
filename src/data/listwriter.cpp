#include "data/listwriter.h"

#include "data/reportdocument.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace domiva::listing {
namespace {

constexpr int cellFlags = Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter | Qt::TextWordWrap;

// Lays the columns out from the right edge, in reading order.
QList<QRectF> columnRects(const Layout &layout, const QRectF &area) {
  double total = 0;
  for (const Column &column : layout.columns)
    total += std::max(1, column.width);
  QList<QRectF> rects;
  double right = area.right();
  for (const Column &column : layout.columns) {
    const double width = area.width() * std::max(1, column.width) / total;
    rects << QRectF(right - width, 0, width, 0);
    right -= width;
  }
  return rects;
}

class PagePainter {
public:
  PagePainter(QPagedPaintDevice &device, QPainter &painter, const Layout &layout)
      : m_device(device), m_painter(painter), m_layout(layout), m_area(painter.window()),
        m_columns(columnRects(layout, m_area)), m_body(reportFont(QStringLiteral("Arial"), 10)),
        m_bold(reportFont(QStringLiteral("Arial"), 10, true)), m_title(reportFont(QStringLiteral("Arial"), 14, true)) {
    m_painter.setFont(m_body);
    m_padding = m_painter.fontMetrics().height() * 0.25;
    m_lineHeight = m_painter.fontMetrics().height() + 2 * m_padding;
    m_bottom = m_area.bottom() - m_lineHeight * 1.5; // room for the page number
  }

  double rowHeight(const QStringList &cells, const QFont &font) {
    m_painter.setFont(font);
    double height = m_lineHeight;
    for (int c = 0; c < m_columns.size(); ++c) {
      const QRectF room(0, 0, m_columns[c].width() - 2 * m_padding, 1e6);
      height = std::max(height, m_painter.boundingRect(room, cellFlags, cells.value(c)).height() + 2 * m_padding);
    }
    return height;
  }

  void startPage(PageModel *model) {
    ++m_page;
    m_y = m_area.top();
    if (m_page == 1 && !m_layout.title.isEmpty()) {
      m_painter.setFont(m_title);
      const double height = m_painter.fontMetrics().height() * 1.8;
      m_painter.drawText(QRectF(m_area.left(), m_y, m_area.width(), height),
                         Qt::AlignHCenter | Qt::AlignVCenter, m_layout.title);
      m_y += height;
    }
    QStringList headers;
    for (const Column &column : m_layout.columns)
      headers << column.header;
    drawRow(headers, m_bold, QColor(0xE0, 0xE0, 0xE0));
    if (model)
      model->pages.append({headers});
  }

  void finishPage() {
    m_painter.setFont(m_body);
    m_painter.drawText(QRectF(m_area.left(), m_area.bottom() - m_lineHeight, m_area.width(), m_lineHeight),
                       Qt::AlignHCenter | Qt::AlignVCenter, QStringLiteral("עמוד %1").arg(m_page));
  }

  // A row that does not fit below goes whole to the next page.
  void addRow(const QStringList &cells, PageModel *model) {
    const double height = rowHeight(cells, m_body);
    if (m_y + height > m_bottom && m_rowsOnPage > 0) {
      finishPage();
      m_device.newPage();
      m_rowsOnPage = 0;
      startPage(model);
    }
    drawRow(cells, m_body, Qt::transparent, height);
    ++m_rowsOnPage;
    if (model)
      model->pages.last().append(cells);
  }

  void addFooter() {
    if (m_layout.footer.isEmpty())
      return;
    m_painter.setFont(m_bold);
    const double height = m_lineHeight * 1.5;
    if (m_y + height > m_bottom) {
      finishPage();
      m_device.newPage();
      ++m_page;
      m_y = m_area.top();
    }
    m_painter.drawText(QRectF(m_area.left(), m_y + m_lineHeight * 0.5, m_area.width(), m_lineHeight),
                       Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter, m_layout.footer);
  }

  int page() const { return m_page; }
  int rowsPerPage() const { return std::max(1, int((m_bottom - m_area.top()) / m_lineHeight) - 1); }

private:
  void drawRow(const QStringList &cells, const QFont &font, const QColor &background, double height = 0) {
    if (height <= 0)
      height = rowHeight(cells, font);
    m_painter.setFont(font);
    for (int c = 0; c < m_columns.size(); ++c) {
      const QRectF cell(m_columns[c].left(), m_y, m_columns[c].width(), height);
      if (background.alpha() > 0)
        m_painter.fillRect(cell, background);
      m_painter.setPen(QPen(Qt::darkGray, 0));
      m_painter.drawRect(cell);
      m_painter.setPen(Qt::black);
      m_painter.drawText(cell.adjusted(m_padding, m_padding, -m_padding, -m_padding), cellFlags, cells.value(c));
    }
    m_y += height;
  }

  QPagedPaintDevice &m_device;
  QPainter &m_painter;
  const Layout &m_layout;
  QRectF m_area;
  QList<QRectF> m_columns;
  QFont m_body, m_bold, m_title;
  double m_padding = 0, m_lineHeight = 0, m_bottom = 0, m_y = 0;
  int m_page = 0;
  int m_rowsOnPage = 0;
};

} // namespace

Painted paint(QPagedPaintDevice &device, const Layout &layout, const Rows &rows, qint64 rowCount,
              const Progress &progress, PageModel *model) {
  Painted painted;
  QPainter painter(&device);
  if (!painter.isActive())
    return painted;
  // Each text finds its own direction: Hebrew reads right to left, a
  // number or a phone keeps its order.
  painter.setLayoutDirection(Qt::LayoutDirectionAuto);
  PagePainter pages(device, painter, layout);
  const int expected = std::max<int>(1, int(std::ceil(double(rowCount) / pages.rowsPerPage())));
  pages.startPage(model);
  QStringList cells;
  int reported = 0;
  while (rows(cells)) {
    pages.addRow(cells, model);
    ++painted.rows;
    if (pages.page() != reported) {
      reported = pages.page();
      if (progress && !progress(reported, std::max(expected, reported)))
        return painted;
    }
  }
  pages.addFooter();
  pages.finishPage();
  painted.pages = pages.page();
  painted.finished = painter.end();
  return painted;
}

} // namespace domiva::listing
