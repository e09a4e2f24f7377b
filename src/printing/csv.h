#pragma once
// Lists saved for spreadsheet programs: UTF-8 with a byte-order mark (so
// the Hebrew reads), comma-separated, quoted where a value needs it.
#include "printing/listwriter.h"

#include <QString>
#include <QStringList>

namespace domiva::csv {

// One value as a field: quoted, with its quotes doubled, when it holds a
// comma, a quote or a line break; the direction marks of the screen's
// texts left out; a text that starts like a formula (=, +, -, @, tab, a
// carriage return) and is not a plain number gets a leading apostrophe.
QString field(QString value);

// Writes `headers`, then every row of `rows`, to `path` through a temporary
// file; false, and no file changed, when it could not.
bool write(const QString &path, const QStringList &headers, const listing::Rows &rows);

} // namespace domiva::csv
