#include "printing/csv.h"

#include "store/files.h"

#include <QFile>
#include <QRegularExpression>

namespace domiva::csv {

QString field(QString value) {
  // One look at every character: a direction mark to leave out, or one
  // that needs the field quoted.
  const auto isMark = [](QChar c) {
    return (c.unicode() >= 0x2066 && c.unicode() <= 0x2069) || c.unicode() == 0x200E || c.unicode() == 0x200F;
  };
  bool marks = false, quoted = false;
  for (const QChar c : std::as_const(value)) {
    marks = marks || isMark(c);
    quoted =
        quoted || c == QLatin1Char(',') || c == QLatin1Char('"') || c == QLatin1Char('\n') || c == QLatin1Char('\r');
  }
  if (marks)
    value.removeIf(isMark);
  // A spreadsheet runs a cell that starts like a formula; such a text is
  // kept a text by a leading apostrophe, while a negative amount stays a number.
  static const QRegularExpression number(QStringLiteral("^[-+]?\\d[\\d,]*(?:\\.\\d+)?$"));
  static const QString formulaStarts = QStringLiteral("=+-@\t\r");
  if (!value.isEmpty() && formulaStarts.contains(value.at(0)) && !number.match(value).hasMatch())
    value.prepend(QLatin1Char('\''));
  if (!quoted)
    return value;
  value.replace(QLatin1Char('"'), QStringLiteral("\"\""));
  return QLatin1Char('"') + value + QLatin1Char('"');
}

bool write(const QString &path, const QStringList &headers, const listing::Rows &rows) {
  return files::writeAtomically(path, [&](const QString &temporary) {
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly))
      return false;
    // Lines are gathered and written a block at a time: a long list then
    // costs little more than its reading.
    constexpr qsizetype blockSize = 1 << 15;
    QString block;
    block.reserve(blockSize + 1024);
    const auto flush = [&] {
      const QByteArray bytes = block.toUtf8();
      block.resize(0); // keeps its room, where clear() would give it back
      return file.write(bytes) == bytes.size();
    };
    const auto add = [&](const QStringList &values) {
      for (qsizetype i = 0; i < values.size(); ++i) {
        if (i > 0)
          block += QLatin1Char(',');
        block += field(values[i]);
      }
      block += QLatin1String("\r\n");
      return block.size() < blockSize || flush();
    };
    bool written = file.write("\xEF\xBB\xBF") == 3 && add(headers);
    for (QStringList cells; written && rows(cells);)
      written = add(cells);
    return written && flush() && file.flush() && file.error() == QFileDevice::NoError;
  });
}

} // namespace domiva::csv
