#pragma once
#include "store/database.h"
// The building details window's rules: the numbers checked, the one
// registery row written, the dues schedule and the opening debts kept, and
// the matrix brought to them.
#include "store/building.h"

#include <QDate>
#include <QString>
#include <optional>

namespace domiva {

// The details as typed in the building details window.
struct BuildingInput {
  QString apartments;
  QString monthlyPay;
  QString openBalance;
  QDate openDate;
  QString street;
  QString city;
  // The first month a changed monthly dues applies to; without it, the
  // books' start (as when dues are set for the first time).
  std::optional<QDate> duesFrom = std::nullopt;
};

// Whether saving `input` changes dues that are already in force, so that
// the user is asked from which month.
bool changesDues(const db::Store &store, const BuildingInput &input);

// The most apartments a building may have.
inline constexpr qint64 maxApartments = 1000;

// Checks the numbers, writes registery and (when the dues changed) the
// schedule's row from `duesFrom`, rebuilds the matrix rows the change
// touches, and replaces the program-wide copy, in one transaction. An empty
// text on success, otherwise the message for the first bad field and
// nothing written.
QString saveBuilding(const db::Store &store, const BuildingInput &input);

// A whole number as typed ("12", "-250", blanks around allowed).
std::optional<qint64> parseWholeNumber(const QString &text);
// A month as typed, "06/2026" or "6/2026": its first day.
std::optional<QDate> parseMonth(const QString &text);

// The schedule for the window's grid: the row's id (hidden), its first
// month, its apartment ("כל הדירות" for the building's) and its amount.
QString scheduleQuery();
inline constexpr int scheduleId = 0, scheduleAmount = 3;
// Adds `apartment`'s own dues from `month` on (an apartment that pays
// more or less than the others). An empty text, or the refusal.
QString addApartmentDues(const db::Store &store, const QString &apartment, const QString &month, const QString &amount);
// Splits a monthly whole for the building over its apartments by their
// shares, each apartment's own dues from `month` on; every apartment must
// have a share. An empty text, or the refusal and nothing written.
QString addDuesByShares(const db::Store &store, const QString &month, const QString &whole);
// Removes schedule row `id`: only a row that starts after this month, so
// no month already charged changes. An empty text, or the refusal.
QString removeDues(const db::Store &store, qint64 id);

// The opening debts for the window's grid: apartment and amount.
QString openingDebtsQuery();
inline constexpr int openingDebtAmount = 1;
// Sets the apartment's opening debt (0 removes it). An empty text, or the refusal.
QString setOpeningDebt(const db::Store &store, const QString &apartment, const QString &amount);

} // namespace domiva
