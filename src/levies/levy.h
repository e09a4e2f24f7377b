#pragma once
#include "store/database.h"
// The levies window's rules: defining a levy and charging it to the
// apartments, changing one apartment's charge, deleting an unpaid levy.
#include <QDate>
#include <QString>

namespace domiva::levies {

// A levy as typed in the levies window.
struct LevyInput {
  QString name;
  QString amount; // per apartment
  QDate firstDue;
  QString instalments; // monthly, from firstDue on; 1 for one due date
};

// Checks the levy and writes it with a charge of its amount to every
// apartment of the building (1 to its number of apartments; while that is
// 0, every apartment with a resident), in one transaction. An empty text,
// or the refusal and nothing written.
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
// One levy's charges: apartment, amount and paid; their headers.
QList<QVariantList> chargeRows(const db::Store &store, qint64 levy);
QStringList chargeHeaders();
inline constexpr int chargesMoney[] = {1, 2};

} // namespace domiva::levies
