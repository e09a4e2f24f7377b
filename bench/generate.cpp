#include "generate.h"

#include "app/startup.h"
#include "building/details.h"
#include "expenses/expense.h"
#include "payments/payment.h"
#include "residents/residents.h"
#include "store/building.h"
#include "store/database.h"

#include <QFile>
#include <algorithm>
#include <random>

namespace domiva::bench {

bool generate(const QString &path, int years, unsigned seed, int apartments, int expensesPerYear) {
  QFile::remove(path);
  if (!startUp(path).isEmpty())
    return false;
  // Only for making the file fast: a crash while generating loses nothing of value.
  db::exec(QStringLiteral("PRAGMA synchronous = OFF"));
  std::mt19937 random(seed);
  // Years run up to this one, but never before the first year a payment
  // may name: a long file then reaches into the coming years.
  const int firstYear = std::max(payments::firstYear, QDate::currentDate().year() - years + 1);
  saveBuilding({QString::number(apartments), QStringLiteral("250"), QStringLiteral("10000"), QDate(firstYear, 1, 1),
                QStringLiteral("הרצל 1"), QStringLiteral("תל אביב")});
  for (int a = 1; a <= apartments; ++a) {
    const QString failure = residents::add({a, QStringLiteral("משפחה %1").arg(a), QStringLiteral("בעל הבית"),
                                            QStringLiteral("03-5550000"), QString(), QString()});
    if (!failure.isEmpty()) {
      qWarning("resident refused: %s", qPrintable(failure));
      return false;
    }
  }
  QStringList categories;
  for (int c = 0; c < 40; ++c)
    categories << QStringLiteral("קטגוריה %1").arg(c);
  for (int s = 0; s < 300; ++s)
    expenses::addSupplier(QStringLiteral("ספק %1").arg(s));

  for (int year = firstYear; year < firstYear + years; ++year) {
    for (int month = 1; month <= 12; ++month) {
      const QString name = QStringList{"ינואר", "פבואר",  "מרץ",   "אפריל",   "מאי",    "יוני",
                                       "יולי",  "אוגוסט", "ספטמב", "אוקטובר", "נובמבר", "דצמבר"}[month - 1];
      for (int a = 1; a <= apartments; ++a) {
        const QDate date(year, month, 1 + int(random() % 28));
        const auto outcome =
            payments::record({date, QString::number(a), QStringLiteral("ועד הבית"), QString(), name, name,
                              QStringLiteral("מזומן"), QStringLiteral("250"), QString::number(year)},
                             250);
        if (!outcome.ok()) {
          qWarning("payment refused: %s", qPrintable(outcome.message));
          return false;
        }
      }
    }
    for (int e = 0; e < expensesPerYear; ++e) {
      const QDate date(year, 1 + int(random() % 12), 1 + int(random() % 28));
      const QString amount = QStringLiteral("%1.%2").arg(50 + random() % 5000).arg(random() % 100, 2, 10, QChar('0'));
      if (!expenses::record({categories[int(random() % 40)], date, QStringLiteral("שיק"), QString(),
                             QStringLiteral("ספק %1").arg(random() % 300), amount})
               .isEmpty())
        return false;
    }
  }
  db::exec(QStringLiteral("PRAGMA synchronous = FULL"));
  db::close();
  return true;
}

} // namespace domiva::bench
