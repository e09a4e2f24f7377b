#include "generate.h"

#include "app/startup.h"
#include "building/details.h"
#include "expenses/expense.h"
#include "ledger/dues.h"
#include "levies/levy.h"
#include "payments/payment.h"
#include "residents/residents.h"
#include "store/building.h"
#include "store/database.h"
#include "text/months.h"
#include "text/today.h"

#include <QFile>
#include <algorithm>
#include <random>

namespace domiva::bench {
namespace {
// How an apartment pays its dues.
enum class Habit { OnTime, Late, InPart, Never };

Habit habitOf(std::mt19937 &random) {
  const unsigned roll = random() % 100;
  return roll < 75 ? Habit::OnTime : roll < 88 ? Habit::Late : roll < 97 ? Habit::InPart : Habit::Never;
}

bool pay(int apartment, const QDate &date, const QString &forText, int first, int last, Money amount, int year) {
  const auto outcome = payments::record(
      db::program(), {date, QString::number(apartment), forText, QString(), months::listNames()[first],
                      months::listNames()[last], QStringLiteral("מזומן"), amount.toString(), QString::number(year)});
  if (!outcome.ok())
    qWarning("payment refused: %s", qPrintable(outcome.message));
  return outcome.ok();
}
} // namespace

bool generate(const QString &path, int years, unsigned seed, int apartments, int expensesPerYear) {
  QFile::remove(path);
  if (!startUp(path).isEmpty())
    return false;
  // Only for making the file fast: a crash while generating loses nothing of value.
  db::program().exec(QStringLiteral("PRAGMA synchronous = OFF"));
  std::mt19937 random(seed);
  // Years run up to this one, but never before the first year a payment
  // may name: a long file then reaches into the coming years.
  const int firstYear = std::max(payments::firstYear, today().year() - years + 1);
  const QDate start(firstYear, 1, 1);
  const auto details = [&](int dues, std::optional<QDate> from) {
    return saveBuilding(db::program(), {QString::number(apartments), QString::number(dues), QStringLiteral("10000"),
                                        start, QStringLiteral("הרצל 1"), QStringLiteral("תל אביב"), from});
  };
  if (!details(250, std::nullopt).isEmpty())
    return false;
  // The last apartment stands empty; the first is larger and pays more.
  for (int a = 1; a < apartments; ++a) {
    const QString failure =
        residents::add(db::program(), {a, QStringLiteral("משפחה %1").arg(a), QStringLiteral("בעל הבית"),
                                       QStringLiteral("03-5550000"), QString(), QString()});
    if (!failure.isEmpty()) {
      qWarning("resident refused: %s", qPrintable(failure));
      return false;
    }
  }
  if (!addApartmentDues(db::program(), QStringLiteral("1"), QStringLiteral("01/%1").arg(firstYear),
                        QStringLiteral("400"))
           .isEmpty())
    return false;
  QList<Habit> habits{Habit::OnTime}; // apartment 0 is none
  for (int a = 1; a <= apartments; ++a)
    habits << (a == apartments ? Habit::Never : habitOf(random));
  QStringList categories;
  for (int c = 0; c < 40; ++c)
    categories << QStringLiteral("קטגוריה %1").arg(c);
  for (int s = 0; s < 300; ++s)
    expenses::addSupplier(db::program(), QStringLiteral("ספק %1").arg(s));

  int dues = 250;
  for (int year = firstYear; year < firstYear + years; ++year) {
    if (year > firstYear && (year - firstYear) % 8 == 0) {
      dues += 30;
      if (!details(dues, QDate(year, 1 + int(random() % 12), 1)).isEmpty())
        return false;
    }
    // A levy of 1,200 in three instalments from March, every fifth year.
    QString levy;
    if ((year - firstYear) % 5 == 2) {
      levy = QStringLiteral("היטל %1").arg(year);
      if (!levies::define(db::program(), {levy, QStringLiteral("1200"), QDate(year, 3, 1), QStringLiteral("3")})
               .isEmpty())
        return false;
    }
    const ledger::Dues schedule = ledger::Dues::read(db::program());
    for (int month = 1; month <= 12; ++month) {
      for (int a = 1; a <= apartments; ++a) {
        const QDate date(year, month, 1 + int(random() % 28));
        const Money owed = schedule.inForce(a, ledger::monthIndex(year, month));
        bool paid = true;
        switch (habits[a]) {
        case Habit::OnTime: paid = pay(a, date, QStringLiteral("ועד הבית"), month - 1, month - 1, owed, year); break;
        case Habit::Late: // two months at a time, a month late
          if (month % 2 == 0)
            paid = pay(a, date, QStringLiteral("ועד הבית"), month - 2, month - 1,
                       owed + schedule.inForce(a, ledger::monthIndex(year, month - 1)), year);
          break;
        case Habit::InPart:
          paid = pay(a, date, QStringLiteral("ועד הבית"), month - 1, month - 1,
                     Money::fromAgorot(owed.agorot() * 4 / 5), year);
          break;
        case Habit::Never: break;
        }
        if (!paid)
          return false;
        // The levy's instalments, paid by those who pay on time.
        if (!levy.isEmpty() && habits[a] == Habit::OnTime && month >= 3 && month <= 5 &&
            !pay(a, date, levy, 0, 0, Money::fromShekels(400), year))
          return false;
      }
    }
    for (int e = 0; e < expensesPerYear; ++e) {
      const QDate date(year, 1 + int(random() % 12), 1 + int(random() % 28));
      const QString amount = QStringLiteral("%1.%2").arg(50 + random() % 5000).arg(random() % 100, 2, 10, QChar('0'));
      if (!expenses::record(db::program(), {categories[int(random() % 40)], date, QStringLiteral("שיק"), QString(),
                                            QStringLiteral("ספק %1").arg(random() % 300), amount})
               .ok())
        return false;
    }
  }
  db::program().exec(QStringLiteral("PRAGMA synchronous = FULL"));
  db::close();
  return true;
}

} // namespace domiva::bench
