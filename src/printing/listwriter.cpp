#include "printing/listwriter.h"

#include "text/dates.h"
#include "text/money.h"
#include "text/texts.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextOption>
#include <algorithm>
#include <cmath>
#include <optional>

namespace domiva::listing {
namespace {

// Cells wrap between words, and inside a word too long for its column (an
// e-mail address), so nothing runs out of its cell.
QTextOption cellOption() {
  QTextOption option(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  return option;
}

// Lays the columns out from the right edge, in reading order.
// The columns share the width as their weights say, but none is narrower
// than its header's longest word (`header` measures it, `padding` each side),
// so a header is never cut inside a word, and no amount column narrower than
// an amount of five digits (`row` measures it): what the narrow ones need
// comes from the others' room beyond their own least, in proportion to it.
QList<QRectF> columnRects(const Layout &layout, const QRectF &area, const QFontMetricsF &header,
                          const QFontMetricsF &row, double padding) {
  double total = 0;
  for (const Column &column : layout.columns)
    total += std::max(1, column.width);
  QList<double> widths, least;
  for (const Column &column : layout.columns) {
    widths << area.width() * std::max(1, column.width) / total;
    double word = 0;
    for (const QString &part : column.header.split(QLatin1Char(' '), Qt::SkipEmptyParts))
      word = std::max(word, header.horizontalAdvance(part));
    if (column.amount)
      word = std::max(word, row.horizontalAdvance(QStringLiteral("-99,999.99")));
    least << word + 2 * padding + 1;
  }
  double need = 0, room = 0;
  for (qsizetype c = 0; c < widths.size(); ++c)
    (widths[c] < least[c] ? need : room) += std::abs(widths[c] - least[c]);
  if (need > 0 && room > 0) {
    const double taken = std::min(1.0, need / room);
    for (qsizetype c = 0; c < widths.size(); ++c)
      widths[c] = widths[c] < least[c] ? least[c] : widths[c] - (widths[c] - least[c]) * taken;
  }
  QList<QRectF> rects;
  double right = area.right();
  for (const double width : widths) {
    rects << QRectF(right - width, 0, width, 0);
    right -= width;
  }
  return rects;
}

class PagePainter {
public:
  PagePainter(QPagedPaintDevice &device, QPainter &painter, const Layout &layout)
      : m_device(device), m_painter(painter), m_first(layout), m_area(painter.window()) {
    useFont(m_first.rowStyle.font);
    m_padding = m_metrics.height() * 0.25;
    useLayout(layout);
    m_lineHeight = m_metrics.height() + 2 * m_padding;
    m_bottom = m_area.bottom() - m_lineHeight * 1.5; // room for the page number
  }

  double rowHeight(const QStringList &cells, const QFont &font) const {
    useFont(font);
    double height = std::max(m_lineHeight, m_metrics.height() + 2 * m_padding);
    for (int c = 0; c < m_columns.size(); ++c) {
      const double room = m_columns[c].width() - 2 * m_padding;
      // Only a text too long for one line needs laying out to be measured,
      // and a text short enough even in the font's widest letters is not.
      if (cells.value(c).size() * m_widest < room || widthOf(cells.value(c)) < room)
        continue;
      height = std::max(height, m_painter.boundingRect(QRectF(0, 0, room, 1e6), cells.value(c), cellOption()).height() +
                                    2 * m_padding);
    }
    return height;
  }

  // Sets the painter's font, and takes its measures, when it changes:
  // setting it anew for every row costs as much as a cell's text.
  void useFont(const QFont &font) const {
    if (m_fontInUse && *m_fontInUse == font)
      return;
    m_painter.setFont(font);
    m_fontInUse = font;
    m_metrics = QFontMetricsF(m_painter.fontMetrics());
    m_widest = m_metrics.maxWidth();
    m_inRowFont = font == m_layout.rowStyle.font;
    if (!m_inRowFont)
      m_otherWidths.clear();
  }

  // How wide a text is in the font in use. A list says the same texts again
  // and again (a purpose, a month, a way of paying), and measuring one
  // shapes it: the rows' widths are kept for the whole list.
  double widthOf(const QString &text) const {
    QHash<QString, double> &widths = m_inRowFont ? m_rowWidths : m_otherWidths;
    if (widths.size() > 4096)
      widths.clear();
    auto found = widths.constFind(text);
    if (found == widths.constEnd())
      found = widths.insert(text, m_metrics.horizontalAdvance(text));
    return *found;
  }

  void startPage(PageModel *model) {
    ++m_page;
    m_y = m_area.top();
    if (m_page == 1) {
      drawLetterhead(model);
      if (!m_first.title.isEmpty())
        drawLine(m_first.title, m_first.titleStyle, Qt::AlignHCenter, 1.8, model);
      for (const QString &line : m_first.intro)
        drawLine(line, m_first.introStyle, m_first.introAlignment | Qt::AlignAbsolute, 1.5, model);
      if (!m_first.title.isEmpty() || !m_first.intro.isEmpty())
        m_y += m_lineHeight * 0.5;
    }
    drawHeaders(model);
  }

  // A section starts under its title, on a new page when the title, the
  // headers and a row would not fit below.
  void startSection(const Layout &layout, PageModel *model) {
    useLayout(layout);
    if (layout.ownPage || m_y + m_lineHeight * 5 > m_bottom)
      breakPage(model);
    if (layout.ownPage)
      drawLetterhead(model);
    else
      m_y += m_lineHeight;
    const Qt::Alignment alignment = layout.ownPage ? Qt::AlignHCenter : Qt::AlignRight | Qt::AlignAbsolute;
    if (!layout.title.isEmpty())
      drawLine(layout.title, layout.titleStyle, alignment, layout.ownPage ? 1.8 : 1.5, model);
    for (const QString &line : layout.intro)
      drawLine(line, layout.introStyle, layout.ownPage ? layout.introAlignment | Qt::AlignAbsolute : alignment,
               layout.ownPage ? 1.5 : 1.4, model);
    drawHeaders(model);
  }

  void finishPage(PageModel *model = nullptr) {
    if (!m_first.watermark.isEmpty()) {
      m_painter.save();
      m_painter.translate(m_area.center());
      m_painter.rotate(-30);
      QFont font = m_first.titleStyle.font;
      font.setPointSizeF(font.pointSizeF() * 5);
      m_painter.setFont(font);
      m_painter.setPen(QColor(200, 0, 0, 110));
      m_painter.drawText(QRectF(-m_area.width(), -m_area.height() / 4, 2 * m_area.width(), m_area.height() / 2),
                         Qt::AlignCenter, m_first.watermark);
      m_painter.restore();
      if (model)
        model->lines << m_first.watermark;
    }
    useFont(m_layout.rowStyle.font);
    m_painter.setPen(Qt::black);
    m_painter.drawText(QRectF(m_area.left(), m_area.bottom() - m_lineHeight, m_area.width(), m_lineHeight),
                       Qt::AlignHCenter | Qt::AlignVCenter, QStringLiteral("עמוד %1").arg(m_page));
  }

  // A row that does not fit below goes whole to the next page.
  void addRow(const QStringList &cells, PageModel *model) {
    const double height = rowHeight(cells, m_layout.rowStyle.font);
    if (m_y + height > m_bottom && m_rowsOnPage > 0) {
      finishPage(model);
      m_device.newPage();
      startPage(model);
    }
    drawRow(cells, m_layout.rowStyle, height);
    ++m_rowsOnPage;
    ++m_rows;
    for (int c = 0; c < m_sums.size(); ++c)
      if (m_layout.columns[c].amount)
        m_sums[c] += amountOf(cells.value(c));
    if (model)
      model->pages.last().append(cells);
  }

  // The count and the sums, then the footer, kept together on one page.
  void addEnding(PageModel *model) {
    QStringList lines;
    if (m_layout.counted) {
      lines << texts::rowsPrinted.arg(m_rows);
      for (int c = 0; c < m_sums.size(); ++c)
        if (m_layout.columns[c].amount)
          // A column that is itself a total ("סה"כ חוב") is not named twice.
          lines << (m_layout.columns[c].header.startsWith(texts::checkTotal) ? QStringLiteral("%1: %2")
                                                                             : texts::columnTotal)
                       .arg(m_layout.columns[c].header, m_layout.paper ? m_sums[c].toPaper() : m_sums[c].toDisplay());
    }
    lines << m_layout.footer;
    if (lines.isEmpty())
      return;
    useFont(m_layout.footerStyle.font);
    const double height = m_metrics.height() * 1.4 * lines.size() + m_lineHeight * 0.5;
    if (m_y + height > m_bottom)
      breakPage(model);
    m_y += m_lineHeight * 0.5;
    for (const QString &line : lines)
      drawLine(line, m_layout.footerStyle, Qt::AlignRight | Qt::AlignAbsolute, 1.4, model);
  }

  int page() const { return m_page; }
  int rowsPerPage() const { return std::max(1, int((m_bottom - m_area.top()) / m_lineHeight) - 1); }

private:
  void useLayout(const Layout &layout) {
    m_layout = layout;
    m_fontInUse.reset(); // the rows' font may be another
    m_rowWidths.clear();
    m_columns = columnRects(layout, m_area, QFontMetricsF(layout.headerStyle.font, &m_device),
                            QFontMetricsF(layout.rowStyle.font, &m_device), m_padding);
    m_rows = 0;
    m_sums = QList<Money>(layout.columns.size());
  }

  // A new page with nothing on it yet but its number to come.
  void breakPage(PageModel *model) {
    finishPage(model);
    m_device.newPage();
    ++m_page;
    m_y = m_area.top();
    m_rowsOnPage = 0;
  }

  void drawHeaders(PageModel *model) {
    m_rowsOnPage = 0;
    if (!m_layout.band.isEmpty())
      drawLine(m_layout.band, m_layout.bandStyle, Qt::AlignRight | Qt::AlignAbsolute, 1.4, nullptr, true);
    QStringList headers;
    for (const Column &column : m_layout.columns)
      headers << column.header;
    drawRow(headers, m_layout.headerStyle);
    if (model)
      model->pages.append({headers});
  }

  // An amount as a cell shows it, a negative one in its isolates.
  static Money amountOf(QString cell) {
    cell.remove(QChar(0x2066)).remove(QChar(0x2069));
    return Money::parse(cell).value_or(Money());
  }

  // The building at the right, the printing date at the left.
  void drawLetterhead(PageModel *model) {
    const QString printed =
        m_first.printedOn.isValid() ? texts::printedOn.arg(dates::toShort(m_first.printedOn)) : QString();
    if (m_first.building.isEmpty() && printed.isEmpty())
      return;
    useFont(m_layout.rowStyle.font);
    m_painter.setPen(Qt::black);
    const QRectF line(m_area.left(), m_y, m_area.width(), m_lineHeight);
    m_painter.drawText(line, Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter, m_first.building);
    m_painter.drawText(line, Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignVCenter, printed);
    m_y += m_lineHeight * 1.5;
    if (model)
      for (const QString &part : {m_first.building, printed})
        if (!part.isEmpty())
          model->lines << part;
  }

  // A line across the page, `lines` line heights tall.
  void drawLine(const QString &text, const ReportStyle &style, Qt::Alignment alignment, double lines,
                PageModel *model = nullptr, bool framed = false) {
    useFont(style.font);
    // A paragraph longer than the width (a letter's) wraps at its words.
    const QRectF inner = m_area.adjusted(m_padding, 0, -m_padding, 0);
    const double wrapped =
        m_painter.boundingRect(QRectF(0, 0, inner.width(), 1e6), int(alignment | Qt::TextWordWrap), text).height();
    const QRectF line(m_area.left(), m_y, m_area.width(),
                      std::max(m_metrics.height() * lines, wrapped + m_metrics.height() * (lines - 1)));
    if (style.background.alpha() > 0)
      m_painter.fillRect(line, style.background);
    if (framed) {
      m_painter.setPen(QPen(Qt::darkGray, 0));
      m_painter.drawRect(line);
    }
    m_painter.setPen(style.text);
    m_painter.drawText(line.adjusted(m_padding, 0, -m_padding, 0), int(alignment | Qt::AlignVCenter | Qt::TextWordWrap),
                       text);
    m_y += line.height();
    if (model)
      model->lines << text;
  }

  void drawRow(const QStringList &cells, const ReportStyle &style, double height = 0) {
    if (height <= 0)
      height = rowHeight(cells, style.font);
    useFont(style.font);
    m_painter.setPen(QPen(Qt::darkGray, 0));
    for (int c = 0; c < m_columns.size(); ++c) {
      const QRectF cell(m_columns[c].left(), m_y, m_columns[c].width(), height);
      if (style.background.alpha() > 0)
        m_painter.fillRect(cell, style.background);
      m_painter.drawRect(cell);
    }
    m_painter.setPen(style.text);
    static const QTextOption option = cellOption();
    for (int c = 0; c < m_columns.size(); ++c)
      if (!cells.value(c).isEmpty())
        m_painter.drawText(QRectF(m_columns[c].left(), m_y, m_columns[c].width(), height)
                               .adjusted(m_padding, m_padding, -m_padding, -m_padding),
                           cells.value(c), option);
    m_y += height;
  }

  QPagedPaintDevice &m_device;
  QPainter &m_painter;
  const Layout &m_first; // the printout's own: its letterhead and title open the first page
  Layout m_layout;       // the section being painted
  QRectF m_area;
  QList<QRectF> m_columns;
  // The font in use and its measures (see useFont), and the widths of the
  // texts measured in it (see widthOf).
  mutable std::optional<QFont> m_fontInUse;
  mutable QFontMetricsF m_metrics{QFont()};
  mutable double m_widest = 0;
  mutable bool m_inRowFont = false;
  mutable QHash<QString, double> m_rowWidths, m_otherWidths;
  double m_padding = 0, m_lineHeight = 0, m_bottom = 0, m_y = 0;
  int m_page = 0;
  int m_rowsOnPage = 0;
  qint64 m_rows = 0;
  QList<Money> m_sums;
};

} // namespace

QString Printout::incomplete() const {
  QString why = failure ? failure() : QString();
  for (const Printout &section : sections)
    if (why.isEmpty())
      why = section.incomplete();
  return why;
}

Painted paint(QPagedPaintDevice &device, const Printout &printout, const Progress &progress, PageModel *model) {
  Painted painted;
  QPainter painter(&device);
  if (!painter.isActive())
    return painted;
  // Each text finds its own direction: Hebrew reads right to left, a
  // number or a phone keeps its order.
  painter.setLayoutDirection(Qt::LayoutDirectionAuto);
  PagePainter pages(device, painter, printout.layout);
  qint64 rowCount = printout.rowCount;
  for (const Printout &section : printout.sections)
    rowCount += section.rowCount + 4; // its title and headers take about as much
  const int expected = std::max<int>(1, int(std::ceil(double(rowCount) / pages.rowsPerPage())));
  int reported = 0;
  // Paints one table's rows; false when the progress stopped them.
  const auto paintRows = [&](const Printout &table) {
    const Rows rows = table.open ? table.open() : Rows([](QStringList &) { return false; });
    QStringList cells;
    while (rows(cells)) {
      pages.addRow(cells, model);
      ++painted.rows;
      if (pages.page() != reported) {
        reported = pages.page();
        if (progress && !progress(reported, std::max(expected, reported)))
          return false;
      }
    }
    pages.addEnding(model);
    return true;
  };
  pages.startPage(model);
  if (!paintRows(printout))
    return painted;
  for (const Printout &section : printout.sections) {
    pages.startSection(section.layout, model);
    if (!paintRows(section))
      return painted;
  }
  pages.finishPage(model);
  painted.pages = pages.page();
  painted.finished = painter.end();
  return painted;
}

} // namespace domiva::listing
