#pragma once
#include <QString>

class QTextStream;

namespace domiva {
// Opens the database at `path` and reads the building's details into the
// program-wide copy. An empty text on success, otherwise the message to
// show; `notice`, when given, receives what to tell the user once.
QString startUp(const QString &path, QString *notice = nullptr);

// Opens the file and writes to `out`, in Hebrew, what in it disagrees with
// the payments and expenses; with `repair`, then rebuilds the matrix rows
// that differ. Returns 0 when everything agrees (after the repair), else 1.
int checkBooks(const QString &path, bool repair, QTextStream &out);
} // namespace domiva
