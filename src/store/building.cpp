#include "store/building.h"

#include "store/database.h"
#include "text/dates.h"
#include "text/texts.h"
#include "text/today.h"

namespace domiva {
namespace {
Building current;

QDate defaultOpenDate() { return QDate(today().year(), 1, 1); }
} // namespace

QString buildingLine(const Building &details) {
  QStringList where;
  for (const QString &part : {details.street, details.city})
    if (!part.trimmed().isEmpty())
      where << part.trimmed();
  return where.join(QStringLiteral(", "));
}

Building readBuilding(const db::Store &store) {
  auto query = store.exec(
      QStringLiteral("SELECT apartments, monthly_pay, openbalance, opendate, street, city FROM registery LIMIT 1"));
  // Reading writes nothing: a missing row is written by the first save.
  if (!query.next()) {
    db::checkRead(query); // a read that fails is no building without details
    return Building{0, {}, {}, defaultOpenDate(), {}, {}};
  }
  Building details;
  details.apartments = query.value(0).toLongLong();
  details.monthlyPay = Money::fromAgorot(query.value(1).toLongLong());
  details.openBalance = Money::fromAgorot(query.value(2).toLongLong());
  details.openDate = dates::fromIso(query.value(3).toString());
  if (!details.openDate.isValid())
    details.openDate = defaultOpenDate();
  details.street = query.value(4).toString();
  details.city = query.value(5).toString();
  query.finish();
  // The dues are the schedule's latest row for the whole building: the
  // registery's copy stays behind when a row not yet started is removed.
  auto latest = store.exec(
      QStringLiteral("SELECT amount FROM dues WHERE apartment IS NULL ORDER BY year DESC, month DESC LIMIT 1"));
  if (latest.next())
    details.monthlyPay = Money::fromAgorot(latest.value(0).toLongLong());
  db::checkRead(latest);
  return details;
}

db::Opened openBooks(const QString &path, db::Check check, db::Access access) {
  db::Opened opened = db::open(path, check, access);
  if (!opened.failure.isEmpty())
    return opened;
  try {
    setBuilding(db::program(), readBuilding(db::program()));
  } catch (const db::Error &e) {
    db::close();
    opened.failure = texts::withDetail(texts::dbCannotRead, e.text());
  }
  return opened;
}

Building building(const db::Store &store) { return store.isProgram() ? current : readBuilding(store); }

void setBuilding(const db::Store &store, const Building &details) {
  if (store.isProgram())
    current = details;
}

QString apartmentRefusal(const db::Store &store, qint64 apartment) {
  const qint64 count = building(store).apartments;
  return count <= 0 || (apartment >= 1 && apartment <= count) ? QString()
                                                              : texts::apartmentOutOfRange.arg(apartment).arg(count);
}

} // namespace domiva
