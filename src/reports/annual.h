#pragma once
#include <QString>
#include <QStringList>

namespace domiva::annual {
// The matrix of one year (bound), headers from the aliases.
QString matrixQuery();
// The year list, ascending: twenty years before `current` to twenty after,
// and every year the matrix holds. Throws db::Error when it can't be read.
QStringList yearList(int current);
} // namespace domiva::annual
