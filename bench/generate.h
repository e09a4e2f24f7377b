#pragma once
#include <QString>

namespace domiva::bench {
// Fills a new database at `path` with a large building through the program's
// own recording code: `apartments` apartments paying every month for `years`
// years (up to this year, or from 2000 on when that is earlier), `expensesPerYear` expenses a year over 40
// categories and 300 suppliers. The same seed gives the same file. Returns
// false if the file can't be made.
bool generate(const QString &path, int years, unsigned seed, int apartments = 200, int expensesPerYear = 500);
} // namespace domiva::bench
