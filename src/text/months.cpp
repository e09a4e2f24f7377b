#include "text/months.h"

namespace domiva::months {

const QStringList &columns() {
  static const QStringList names{"jan", "feb", "mer", "apr", "mai", "jun", "jul", "aug", "sep", "oct", "nov", "dec"};
  return names;
}

const QStringList &listNames() {
  static const QStringList names{"ינואר", "פבואר",  "מרץ",   "אפריל",   "מאי",    "יוני",
                                 "יולי",  "אוגוסט", "ספטמב", "אוקטובר", "נובמבר", "דצמבר"};
  return names;
}

const QStringList &headers() {
  static const QStringList names{"ינואר", "פברואר", "מרץ",    "אפריל",   "מאי",    "יוני",
                                 "יולי",  "אוגוסט", "ספטמבר", "אוקטובר", "נובמבר", "דצמבר"};
  return names;
}

int indexOfListName(const QString &text) { return int(listNames().indexOf(text)); }

int indexOfTyped(const QString &text) {
  const QString month = text.trimmed();
  const int listed = indexOfListName(month);
  return listed >= 0 ? listed : int(headers().indexOf(month));
}

} // namespace domiva::months
