#include "ledger/people.h"

#include "text/collectiontexts.h"
#include "text/dates.h"
#include "text/texts.h"

#include <QSqlQuery>

namespace domiva::people {
namespace {
Role roleOf(const QString &stored) {
  return stored == QLatin1String("owner") ? Role::Owner : stored == QLatin1String("both") ? Role::Both : Role::Occupant;
}
} // namespace

Occupants::Occupants(const db::Store &store) {
  store.each(QStringLiteral("SELECT apartment, family FROM neighbors"), {},
             [&](const QSqlQuery &rows) { m_now.insert(rows.value(0).toLongLong(), rows.value(1).toString()); });
  store.each(QStringLiteral("SELECT apartment, name, until FROM former_people WHERE role <> 'owner' ORDER BY until, id"),
             {}, [&](const QSqlQuery &rows) {
               m_before[rows.value(0).toLongLong()] << std::pair{dates::fromIso(rows.value(2).toString()),
                                                                 rows.value(1).toString()};
             });
}

QString Occupants::at(qint64 apartment, const QDate &date) const {
  for (const auto &[until, name] : m_before.value(apartment))
    if (date < until)
      return name;
  return m_now.value(apartment);
}

QString Occupants::over(qint64 apartment, const QDate &from, const QDate &to) const {
  QStringList left; // newest first
  for (const auto &[until, name] : m_before.value(apartment))
    if (until > from && until <= to)
      left.prepend(texts::formerOccupant.arg(dates::toShort(until.addDays(-1)), name));
  const QString now = at(apartment, to);
  if (left.isEmpty())
    return now;
  return texts::nameWithFormer.arg(now.isEmpty() ? texts::emptyApartment : now, left.join(QStringLiteral("; ")));
}

QString occupantSql(const QString &apartment, const QString &date) {
  return QStringLiteral("coalesce((SELECT f.name FROM former_people f WHERE f.apartment = %1 AND f.role <> 'owner' AND "
                        "f.until > %2 ORDER BY f.until, f.id LIMIT 1), (SELECT n.family FROM neighbors n WHERE "
                        "n.apartment = %1), '')")
      .arg(apartment, date);
}

QList<QDate> Occupants::changes(qint64 apartment) const {
  QList<QDate> days;
  for (const auto &[until, name] : m_before.value(apartment))
    days << until;
  return days;
}

QList<Person> of(const db::Store &store, qint64 apartment) {
  QList<Person> found;
  QDate occupantFrom, ownerFrom; // the day today's came: the last change of each role
  store.each(QStringLiteral("SELECT role, name, until FROM former_people WHERE apartment = ? ORDER BY until, id"),
             {apartment}, [&](const QSqlQuery &rows) {
               const Role role = roleOf(rows.value(0).toString());
               const QDate until = dates::fromIso(rows.value(2).toString());
               QDate &mine = role == Role::Owner ? ownerFrom : occupantFrom;
               found << Person{role, rows.value(1).toString(), role == Role::Both ? std::max(occupantFrom, ownerFrom) : mine,
                               until};
               if (role != Role::Owner)
                 occupantFrom = until;
               if (role != Role::Occupant)
                 ownerFrom = until;
             });
  const auto now = store.one(QStringLiteral("SELECT (SELECT family FROM neighbors WHERE apartment = ?), "
                                            "(SELECT name FROM owners WHERE apartment = ?)"),
                             {apartment, apartment});
  const QString occupant = now.value(0).toString(), owner = now.value(1).toString();
  if (!now.isNull(0))
    found << Person{owner.isEmpty() ? Role::Both : Role::Occupant, occupant,
                    owner.isEmpty() ? std::max(occupantFrom, ownerFrom) : occupantFrom, {}};
  if (!owner.isEmpty())
    found << Person{Role::Owner, owner, ownerFrom, {}};
  return found;
}

QString describe(const Person &person) {
  const QString role = person.role == Role::Owner  ? texts::roleOwner
                       : person.role == Role::Both ? texts::roleBoth
                                                   : texts::roleOccupant;
  const QString name = person.name.isEmpty() ? texts::emptyApartment : person.name;
  if (person.until.isValid())
    return texts::personUntil.arg(name, role, dates::toShort(person.until.addDays(-1)));
  if (person.from.isValid())
    return texts::personFrom.arg(name, role, dates::toShort(person.from));
  return texts::personAlways.arg(name, role);
}

} // namespace domiva::people
