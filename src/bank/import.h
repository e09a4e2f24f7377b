#pragma once
// A statement's lines kept in the books, each once: importing the same file
// again, or one that overlaps it, adds only the lines not yet in.
#include "bank/statement.h"
#include "store/database.h"

namespace domiva::bank {

struct Kept {
  QString message; // what the user is told: the counts, or why nothing was kept
  qint64 added = 0, already = 0;
};

// In one transaction: the statement's row (when it brings a new line) and
// its new lines. Two bookkeepers importing one file at once: the second
// finds the first's lines in.
Kept keep(const db::Store &store, const Statement &statement, const QString &fileName);

// The columns named for each bank, as kept. Throws db::Error.
QList<Columns> namedColumns(const db::Store &store);
// Checks `columns` and keeps them for their bank, in place of what that
// bank had: an empty text, or why not (nothing kept).
QString nameColumns(const db::Store &store, const Columns &columns);

} // namespace domiva::bank
