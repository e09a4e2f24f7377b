#pragma once
#include "store/database.h"

#include <QString>

class QCoreApplication;
class QTextStream;

namespace domiva {
// Hebrew (Israel) whatever the system's language: Qt's own buttons and
// dialogs in Hebrew, and the calendar's weeks and month names.
void installHebrew(QCoreApplication &app);

// Opens the database at `path` and reads the building's details into the
// program-wide copy. An empty text on success, otherwise the message to
// show; `opened`, when given, receives how it went (what to tell the user
// once, whether the file is damaged). With db::Check::Later the whole-file
// check is left for db::checked().
QString startUp(const QString &path, db::Opened *opened = nullptr, db::Check check = db::Check::Now);

// The message for a file refused at `path`: why, and for a damaged file
// where its newest backup is and how to restore it.
QString refusal(const QString &path, const db::Opened &opened);

// Opens the file and writes to `out`, in Hebrew, what in it disagrees with
// the payments and expenses; with `repair`, then rebuilds the matrix rows
// that differ. Returns 0 when everything agrees (after the repair), else 1.
int checkBooks(const QString &path, bool repair, QTextStream &out);

// Copies the books at `from` whole into new books at `to` (a new file, or
// a building on a server), then checks the copy as checkBooks does;
// writes how it went to `out`. Returns 0 when the copy passed its check.
int copyBooks(const QString &from, const QString &to, QTextStream &out);
} // namespace domiva
