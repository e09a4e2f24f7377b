#include "data/csv.h"

#include "data/files.h"

#include <QFile>

namespace domiva::csv {

QString field(QString value) {
  for (const QChar mark : {QChar(0x2066), QChar(0x2067), QChar(0x2068), QChar(0x2069), QChar(0x200E), QChar(0x200F)})
    value.remove(mark);
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
