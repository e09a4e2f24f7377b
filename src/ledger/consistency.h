#pragma once
#include "store/database.h"

#include <QList>
#include <QString>

namespace domiva::consistency {

// One thing in the file that disagrees with the payments and expenses.
struct Finding {
  QString text;           // in Hebrew, naming the row
  bool matrixRow = false; // a matrix row that a rebuild mends
  qint64 apartment = 0;
  int year = 0;
};

// Compares every matrix row with its rebuild from the payments and the dues
// schedule (cells, total and debt), and the
// journal with incoming and removals (count and sum per type, a cancelled
// row counted with its reversal). Empty when everything agrees. Throws
// db::Error when the file cannot be read.
QList<Finding> check(const db::Store &store);

// Rebuilds the matrix rows among `findings`, in one transaction; throws
// db::Error and writes nothing when that fails.
void repair(const db::Store &store, const QList<Finding> &findings);

} // namespace domiva::consistency
