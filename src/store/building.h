#pragma once
#include "store/database.h"
#include "text/money.h"

#include <QDate>
#include <QString>
#include <QtGlobal>

namespace domiva {

// The building's details, the one row of registery.
struct Building {
  qint64 apartments = 0;
  Money monthlyPay; // the dues in force now
  Money openBalance;
  QDate openDate;
  QString street;
  QString city;
};

// Reads the registery row, writing nothing: a missing row and empty values
// read as 0, empty text and 1 January of the current year.
Building readBuilding(const db::Store &store);

// Opens the books at `path` (see db::open) and reads the building's details
// into the program's copy; on failure nothing is left open.
db::Opened openBooks(const QString &path, db::Check check = db::Check::Now, db::Access access = db::Access::ReadWrite);

// The building's details in `store`. The program's are read when its
// books open and replaced by every save, so every window uses what was
// saved last; another store's are read from it. Throws db::Error when they
// can't be read.
Building building(const db::Store &store);
// Where the building stands, "street, city", as the windows and the
// printouts name it; empty parts left out.
QString buildingLine(const Building &details);
// What a save of `store`'s details leaves: the program's copy is replaced.
void setBuilding(const db::Store &store, const Building &details);

// Empty when `apartment` is one of the building's, 1 to its number of
// apartments (any while that number is 0); else the refusal.
QString apartmentRefusal(const db::Store &store, qint64 apartment);

} // namespace domiva
