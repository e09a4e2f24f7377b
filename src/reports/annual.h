#pragma once
#include "printing/listwriter.h"
#include "store/database.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

namespace domiva::annual {
// The matrix's headers on screen.
QStringList headers();
// The year's stored rows, by apartment, under headers(): money in agorot,
// a month not paid empty, each named for whoever lived there in the year.
// Throws db::Error.
QList<QVariantList> rows(const db::Store &store, int year);
// The columns of the matrix that hold money (agorot): the months, the total and the debt.
QList<int> moneyColumns();
// The printed matrix of a year: every apartment of the building (one the
// year credited nothing owing the year's dues) and any other with a row,
// under the sixteen headers, then the year's totals, on landscape pages,
// amounts as the residents' papers print them. Throws db::Error.
listing::Printout printout(const db::Store &store, int year);
// The year list, ascending: twenty years before `current` to twenty after,
// and every year the matrix holds. Throws db::Error when it can't be read.
QStringList yearList(const db::Store &store, int current);
} // namespace domiva::annual
