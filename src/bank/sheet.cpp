#include "bank/sheet.h"

#include "text/banktexts.h"
#include "text/texts.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QXmlStreamReader>

#include <libxml/HTMLparser.h>
#include <unicode/ubidi.h>
#include <zip.h>

#include <map>
#include <memory>
#include <optional>

namespace domiva::bank {
namespace {

// No part of a statement's spreadsheet is larger unpacked: a file that
// claims more is refused rather than filling the memory.
constexpr zip_uint64_t maxPart = 64 * 1024 * 1024;

QString cellText(QString text) {
  text.replace(QChar(0x00A0), QLatin1Char(' '));
  return text.simplified();
}

// A spreadsheet (Office Open XML): the sheets in the workbook's order, each
// read from its part with the shared strings put in.
class Workbook {
public:
  explicit Workbook(const QByteArray &bytes) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *source = zip_source_buffer_create(bytes.constData(), zip_uint64_t(bytes.size()), 0, &error);
    if (source && !(m_zip = zip_open_from_source(source, ZIP_RDONLY, &error)))
      zip_source_free(source);
    zip_error_fini(&error);
  }
  ~Workbook() {
    if (m_zip)
      zip_discard(m_zip);
  }
  bool opened() const { return m_zip != nullptr; }

  std::optional<QByteArray> part(const QString &name) const {
    const QByteArray path = name.toUtf8();
    zip_stat_t stat;
    if (zip_stat(m_zip, path.constData(), 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE) || stat.size > maxPart)
      return std::nullopt;
    zip_file_t *file = zip_fopen(m_zip, path.constData(), 0);
    if (!file)
      return std::nullopt;
    QByteArray data(qsizetype(stat.size), Qt::Uninitialized);
    const zip_int64_t read = zip_fread(file, data.data(), stat.size);
    zip_fclose(file);
    if (read != zip_int64_t(stat.size))
      return std::nullopt;
    return data;
  }

private:
  zip_t *m_zip = nullptr;
};

// The text of every element named `name` under the current one, joined:
// a shared string's runs, an inline string's text.
QString textsUnder(QXmlStreamReader &xml, QStringView end) {
  QString text;
  while (xml.readNext() != QXmlStreamReader::Invalid && !(xml.isEndElement() && xml.name() == end))
    if (xml.isStartElement() && xml.name() == QLatin1String("t"))
      text += xml.readElementText(QXmlStreamReader::IncludeChildElements);
  return text;
}

int columnOf(QStringView reference) {
  int column = 0;
  for (const QChar c : reference) {
    if (c < QLatin1Char('A') || c > QLatin1Char('Z'))
      break;
    column = column * 26 + (c.unicode() - 'A' + 1);
  }
  return column - 1;
}

std::optional<Rows> readWorksheet(const QByteArray &part, const QStringList &shared) {
  Rows rows;
  QXmlStreamReader xml(part);
  QStringList *row = nullptr;
  while (!xml.atEnd()) {
    xml.readNext();
    if (!xml.isStartElement())
      continue;
    if (xml.name() == QLatin1String("row")) {
      rows.append(QStringList());
      row = &rows.last();
    } else if (xml.name() == QLatin1String("c") && row) {
      const QString type = xml.attributes().value(QLatin1String("t")).toString();
      const int column = columnOf(xml.attributes().value(QLatin1String("r")));
      QString value;
      while (xml.readNext() != QXmlStreamReader::Invalid && !(xml.isEndElement() && xml.name() == QLatin1String("c"))) {
        if (xml.isStartElement() && xml.name() == QLatin1String("v"))
          value = xml.readElementText();
        else if (xml.isStartElement() && xml.name() == QLatin1String("is"))
          value = textsUnder(xml, u"is");
      }
      if (type == QLatin1String("s")) {
        bool number = false;
        const int index = value.toInt(&number);
        if (!number || index < 0 || index >= shared.size())
          return std::nullopt;
        value = shared[index];
      }
      while (column > row->size())
        row->append(QString());
      row->append(cellText(value));
    }
  }
  if (xml.hasError())
    return std::nullopt;
  return rows;
}

std::optional<Rows> readWorkbook(const QByteArray &bytes) {
  const Workbook book(bytes);
  if (!book.opened())
    return std::nullopt;
  QStringList shared;
  if (const auto strings = book.part(QStringLiteral("xl/sharedStrings.xml"))) {
    QXmlStreamReader xml(*strings);
    while (!xml.atEnd())
      if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("si"))
        shared << textsUnder(xml, u"si");
    if (xml.hasError())
      return std::nullopt;
  }
  // The sheets in the workbook's order, through their relationships.
  const auto workbook = book.part(QStringLiteral("xl/workbook.xml"));
  const auto relations = book.part(QStringLiteral("xl/_rels/workbook.xml.rels"));
  if (!workbook || !relations)
    return std::nullopt;
  std::map<QString, QString> targets;
  QXmlStreamReader links(*relations);
  while (!links.atEnd())
    if (links.readNext() == QXmlStreamReader::StartElement && links.name() == QLatin1String("Relationship"))
      targets[links.attributes().value(QLatin1String("Id")).toString()] =
          links.attributes().value(QLatin1String("Target")).toString();
  Rows rows;
  QXmlStreamReader sheets(*workbook);
  while (!sheets.atEnd()) {
    if (sheets.readNext() != QXmlStreamReader::StartElement || sheets.name() != QLatin1String("sheet"))
      continue;
    QString id;
    for (const auto &attribute : sheets.attributes())
      if (attribute.name() == QLatin1String("id"))
        id = attribute.value().toString();
    QString target = targets[id];
    target = target.startsWith(QLatin1Char('/')) ? target.mid(1) : QStringLiteral("xl/") + target;
    const auto part = book.part(target);
    const auto sheet = part ? readWorksheet(*part, shared) : std::nullopt;
    if (!sheet)
      return std::nullopt;
    rows << *sheet;
  }
  if (links.hasError() || sheets.hasError())
    return std::nullopt;
  return rows;
}

// A web page's tables (what some banks save as ".xls"): each row's cells.
Rows readPage(const QString &page) {
  const QByteArray utf8 = page.toUtf8();
  std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> document(
      htmlReadMemory(utf8.constData(), int(utf8.size()), nullptr, "UTF-8",
                     HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET),
      xmlFreeDoc);
  Rows rows;
  const auto walk = [&rows](auto &self, xmlNode *node) -> void {
    for (; node; node = node->next) {
      if (node->type != XML_ELEMENT_NODE)
        continue;
      if (xmlStrcasecmp(node->name, BAD_CAST "tr") == 0) {
        QStringList cells;
        for (xmlNode *cell = node->children; cell; cell = cell->next)
          if (cell->type == XML_ELEMENT_NODE &&
              (xmlStrcasecmp(cell->name, BAD_CAST "td") == 0 || xmlStrcasecmp(cell->name, BAD_CAST "th") == 0)) {
            xmlChar *content = xmlNodeGetContent(cell);
            cells << cellText(QString::fromUtf8(reinterpret_cast<const char *>(content)));
            xmlFree(content);
          }
        rows << cells;
      }
      self(self, node->children);
    }
  };
  if (document)
    walk(walk, xmlDocGetRootElement(document.get()));
  return rows;
}

// Delimited text: commas, or tabs or semicolons where a line has them and
// no comma; a quoted field may hold the separator, doubled quotes and line breaks.
Rows readDelimited(const QString &text) {
  const QString first = text.section(QLatin1Char('\n'), 0, 0);
  const QChar separator = first.contains(QLatin1Char(','))    ? QLatin1Char(',')
                          : first.contains(QLatin1Char('\t')) ? QLatin1Char('\t')
                          : first.contains(QLatin1Char(';'))  ? QLatin1Char(';')
                                                              : QLatin1Char(',');
  Rows rows;
  QStringList row;
  QString field;
  bool quoted = false;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (quoted) {
      if (c == QLatin1Char('"') && i + 1 < text.size() && text[i + 1] == QLatin1Char('"'))
        field += text[++i];
      else if (c == QLatin1Char('"'))
        quoted = false;
      else
        field += c;
    } else if (c == QLatin1Char('"') && field.trimmed().isEmpty()) {
      quoted = true;
      field.clear();
    } else if (c == separator) {
      row << cellText(field);
      field.clear();
    } else if (c == QLatin1Char('\n')) {
      rows << (row << cellText(field));
      row.clear();
      field.clear();
    } else if (c != QLatin1Char('\r')) {
      field += c;
    }
  }
  if (!field.isEmpty() || !row.isEmpty())
    rows << (row << cellText(field));
  return rows;
}

} // namespace

QString decode(const QByteArray &bytes, bool dos) {
  if (dos)
    return QStringDecoder("IBM862").decode(bytes);
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString text = utf8.decode(bytes);
  if (!utf8.hasError())
    return text.startsWith(QChar(0xFEFF)) ? text.mid(1) : text;
  // Windows-1255 holds every letter of ISO-8859-8 at the same place.
  return QStringDecoder("windows-1255").decode(bytes);
}

QString visualToLogical(const QString &visual) {
  UErrorCode error = U_ZERO_ERROR;
  std::unique_ptr<UBiDi, decltype(&ubidi_close)> bidi(ubidi_open(), ubidi_close);
  ubidi_setReorderingMode(bidi.get(), UBIDI_REORDER_INVERSE_LIKE_DIRECT);
  ubidi_setPara(bidi.get(), reinterpret_cast<const UChar *>(visual.utf16()), int32_t(visual.size()), UBIDI_RTL, nullptr,
                &error);
  QString logical(visual.size() * 2 + 8, QChar());
  const int32_t length = ubidi_writeReordered(bidi.get(), reinterpret_cast<UChar *>(logical.data()),
                                              int32_t(logical.size()), UBIDI_DO_MIRRORING, &error);
  return U_FAILURE(error) ? visual : logical.left(length);
}

Sheet readSheet(const QByteArray &bytes) {
  if (bytes.startsWith("PK\x03\x04")) {
    auto rows = readWorkbook(bytes);
    return rows ? Sheet{*rows, {}} : Sheet{{}, texts::bankDamaged};
  }
  if (bytes.startsWith("\xD0\xCF\x11\xE0"))
    return {{}, texts::bankOldExcel};
  if (bytes.contains('\0'))
    return {{}, texts::bankNotText};
  const QString text = decode(bytes);
  static const QRegularExpression page(QStringLiteral("<\\s*(table|html)\\b"),
                                       QRegularExpression::CaseInsensitiveOption);
  return {page.match(text).hasMatch() ? readPage(text) : readDelimited(text), {}};
}

} // namespace domiva::bank
