#include "printing/csv.h"

#include "store/files.h"

#include <QFile>
#include <QRegularExpression>

namespace domiva::csv {

QString field(QString value) {
  for (const QChar mark : {QChar(0x2066), QChar(0x2067), QChar(0x2068), QChar(0x2069), QChar(0x200E), QChar(0x200F)})
    value.remove(mark);
  // A spreadsheet runs a cell that starts like a formula; such a text is
  // kept a text by a leading apostrophe, while a negative amount stays a number.
  static const QRegularExpression number(QStringLiteral("^[-+]?\\d[\\d,]*(?:\\.\\d+)?$"));
  static const QString formulaStarts = QStringLiteral("=+-@\t\r");
  if (!value.isEmpty() && formulaStarts.contains(value.front()) && !number.match(value).hasMatch())
    value.prepend(QLatin1Char('\''));
  if (!value.contains(QLatin1Char(',')) && !value.contains(QLatin1Char('"')) && !value.contains(QLatin1Char('\n')) &&
      !value.contains(QLatin1Char('\r')))
    return value;
  value.replace(QLatin1Char('"'), QStringLiteral("\"\""));
  return QLatin1Char('"') + value + QLatin1Char('"');
}

bool write(const QString &path, const QStringList &headers, const listing::Rows &rows) {
  return files::writeAtomically(path, [&](const QString &temporary) {
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly))
      return false;
    const auto line = [&file](const QStringList &values) {
      QStringList fields;
      for (const QString &value : values)
        fields << field(value);
      return file.write((fields.join(QLatin1Char(',')) + QStringLiteral("\r\n")).toUtf8()) >= 0;
    };
    bool written = file.write("\xEF\xBB\xBF") == 3 && line(headers);
    for (QStringList cells; written && rows(cells);)
      written = line(cells);
    return written && file.flush() && file.error() == QFileDevice::NoError;
  });
}

} // namespace domiva::csv
