#pragma once
#include "printing/listwriter.h"
#include "store/database.h"
// The levies window's rules: defining a levy and charging it to the
// apartments, changing one apartment's charge, deleting an unpaid levy.
#include <QDate>
#include <QString>

namespace domiva::levies {

// A levy as typed in the levies window.
struct LevyInput {
  QString name;
  QString amount; // per apartment; by shares, the building's whole
  QDate firstDue;
  QString instalments; // monthly, from firstDue on; 1 for one due date
  bool byShares = false; // the whole split by the apartments' shares
  QString fund = {};      // the fund it raises money for; empty: the running account
};

// Checks the levy and writes it with a charge to every apartment of the
// building (1 to its number of apartments; while that is 0, every
// apartment with a resident), in one transaction: its amount, or by shares
// each apartment's part of the whole (every apartment must have a share).
// An empty text, or the refusal and nothing written.
QString define(const db::Store &store, const LevyInput &input);
// Sets what levy `levy` charges one apartment. An empty text, or the refusal.
QString setCharge(const db::Store &store, qint64 levy, const QString &apartment, const QString &amount);
// Deletes a levy no payment was recorded for (cancelled ones included:
// they still name it), with its charges. An empty text, or the refusal.
QString remove(const db::Store &store, qint64 levy);

// The levies grid, from the one reckoning of what each charge was paid:
// the id (hidden), name, first due date, instalments, the amount charged
// and the amount paid; its headers.
QList<QVariantList> listRows(const db::Store &store);
QStringList listHeaders();
inline constexpr int listId = 0, listDue = 2, listMoney[] = {4, 5};
// One levy's charges: apartment, its share, amount and paid; their headers.
QList<QVariantList> chargeRows(const db::Store &store, qint64 levy);
QStringList chargeHeaders();
inline constexpr int chargesMoney[] = {2, 3};
// A levy's paper: its due dates and how it was split, then every
// apartment's share, charge and payments, and their sums. Throws db::Error.
listing::Printout printout(const db::Store &store, qint64 levy);

} // namespace domiva::levies
