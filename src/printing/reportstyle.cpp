#include "printing/reportstyle.h"

#include <QHash>

namespace domiva {

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

} // namespace domiva
