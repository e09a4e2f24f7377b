#pragma once
#include "printing/listwriter.h"
#include "store/database.h"

namespace domiva::residents {
// The printed residents list: every resident in apartment order, read as it
// is painted (its rowCount is 0 when there is nothing to print). Throws
// db::Error when the residents cannot be counted.
listing::Printout listPrintout(const db::Store &store);
} // namespace domiva::residents
