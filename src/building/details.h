#pragma once
// The building details window's rules: the numbers checked, the one
// registery row written, the debts brought to the new dues.
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
};

// Checks the three numbers, writes registery, brings the debts of this
// year's matrix rows and later ones to the new dues, and replaces the
// program-wide copy. An empty text on success, otherwise the message for the
// first bad field and nothing written.
QString saveBuilding(const BuildingInput &input);

// A whole number as typed ("12", "-250", blanks around allowed).
std::optional<qint64> parseWholeNumber(const QString &text);

} // namespace domiva
