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
    QString line;
    line.reserve(512);
    QByteArray block("\xEF\xBB\xBF");
    const auto add = [&](const QStringList &values) {
      line.resize(0); // keeps its room, where clear() would give it back
      for (const QString &value : values) {
        if (!line.isEmpty() || &value != &values.front())
          line += QLatin1Char(',');
        line += field(value);
      }
      line += QLatin1String("\r\n");
      block += line.toUtf8();
      if (block.size() < 1 << 16)
        return true;
      const bool written = file.write(block) == block.size();
      block.clear();
      return written;
    };
    bool written = add(headers);
    for (QStringList cells; written && rows(cells);)
      written = add(cells);
    return written && file.write(block) == block.size() && file.flush() && file.error() == QFileDevice::NoError;
  });
}

} // namespace domiva::csv
