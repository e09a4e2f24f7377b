#pragma once
// Who lived in and who owned each apartment when. Today's resident and owner
// are kept with the residents; a sale or a move on a date keeps whoever it
// replaced, to that day, so that a paper names whoever was there on its date
// and says whose a debt from before was.
#include "store/database.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>

namespace domiva::people {

enum class Role { Occupant, Owner, Both }; // both: an owner who lived there

struct Person {
  Role role = Role::Occupant;
  QString name;
  QDate from;  // the day they came: invalid when before every change
  QDate until; // the day the next came (no longer theirs): invalid for today's
};

// The occupants' names over time, read once for a paper. Throws db::Error.
class Occupants {
public:
  explicit Occupants(const db::Store &store);
  // Who lived there on `date`; empty when nobody.
  QString at(qint64 apartment, const QDate &date) const;
  // Who lived there on `to`, and those who left after `from`, each to their
  // last day: "לוי (עד 14/03/2026: כהן)". Empty when nobody ever.
  QString over(qint64 apartment, const QDate &from, const QDate &to) const;
  // The days the occupant changed: the first day of each newcomer.
  QList<QDate> changes(qint64 apartment) const;

private:
  QHash<qint64, QString> m_now;
  QHash<qint64, QList<std::pair<QDate, QString>>> m_before; // (until, name), oldest first
};

// The same rule as Occupants::at in SQL, for a grid or a paper's query: who
// lived in the apartment in column `apartment` on the date in column `date`.
QString occupantSql(const QString &apartment, const QString &date);

// An apartment's people, those before first, then today's occupant and
// owner. Throws db::Error.
QList<Person> of(const db::Store &store, qint64 apartment);
// "כהן (דייר ובעלים) עד 14/03/2026"
QString describe(const Person &person);

} // namespace domiva::people
