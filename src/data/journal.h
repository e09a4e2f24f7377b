#pragma once
#include "data/money.h"

#include <QDate>
#include <QString>

namespace domiva::journal {
// Adds the trans row of a payment ("הכנסה") or an expense ("הוצאה"); the
// caller's transaction keeps it together with the row it mirrors.
void add(const QString &forText, Money amount, const QDate &date, const QString &type);
} // namespace domiva::journal
