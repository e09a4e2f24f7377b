#pragma once
#include <QString>

namespace domiva::bench {
// Fills a new database at `path` with a large building through the program's
// own recording code, for `years` years (up to this year, or from 2000 on
// when that is earlier): `apartments` apartments, the last one empty, one
// paying larger dues of its own; the dues raised every eight years; a levy
// in three instalments every five; most apartments paying every month, some
// late, some in part, a few never; `expensesPerYear` expenses a year over 40
// categories and 300 suppliers. The same seed gives the same file. Returns
// false if the file can't be made.
bool generate(const QString &path, int years, unsigned seed, int apartments = 200, int expensesPerYear = 500);
} // namespace domiva::bench
