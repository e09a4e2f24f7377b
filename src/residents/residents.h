#pragma once
#include "store/database.h"
#include <QDate>
#include <QString>
#include <optional>

namespace domiva::residents {

struct Resident {
  qint64 apartment = 0;
  QString family;
  QString status;
  QString phone1;
  QString phone2;
  QString email;
  // The owner where it is not the resident (no name: the resident owns it).
  QString ownerName = {};
  QString ownerPhone = {};
  QString ownerEmail = {};
  QString ownerAddress = {}; // for letters by post
};

// The residents grid: headers are the aliases, ordered by apartment.
QString listQuery();

// An apartment number as typed: a whole number from 1 up, so "05" and " 5"
// are apartment 5. Anything else is no apartment.
std::optional<qint64> parseApartment(const QString &text);
// An apartment of the building typed as `text` (see parseApartment and
// apartmentRefusal); else nothing, and `refusal` says why.
std::optional<qint64> apartmentOf(const db::Store &store, const QString &text, QString *refusal);

std::optional<Resident> find(const db::Store &store, qint64 apartment);

// Each returns an empty text on success, otherwise the message to show;
// nothing is written then.
QString add(const db::Store &store, const Resident &resident);
QString update(const db::Store &store, const Resident &resident); // every column but the apartment
QString remove(const db::Store &store, qint64 apartment);

// A sale or a move: who comes, in whose place (in the order of
// texts::changeKinds).
enum class Change { Sale, SaleTenantStays, NewTenant };
// The apartment as it is from `date` on, `after` as the form has it; the
// people it replaces are kept to that day, with what was owed before it
// staying the apartment's. A sale to a buyer who moves in makes the buyer
// its owner; a new tenant in an apartment its owner lived in makes the
// owner one who lets it. Empty on success, else the message; nothing is
// written then.
QString change(const db::Store &store, const Resident &after, Change kind, const QDate &date);

// Before a resident is deleted: the question to ask when the apartment has
// payments or owes anything as at `date` (the debt and the payments stay
// the apartment's), else empty. Throws db::Error.
QString removalQuestion(const db::Store &store, qint64 apartment, const QDate &date);

} // namespace domiva::residents
