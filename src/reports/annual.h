#pragma once
#include <QString>
#include <QStringList>

namespace domiva::annual {
// The matrix of one year (bound), headers from the aliases.
QString matrixQuery();
// The year list: twenty years before `current` to twenty after, ascending.
QStringList yearList(int current);
} // namespace domiva::annual
