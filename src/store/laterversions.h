#pragma once
#include "store/database.h"

namespace domiva::db {
// Brings the books from `version` - 1 to `version`, for the versions from 6
// on: new tables and columns only, no rows to carry over.
void runLater(const Store &store, int version);
} // namespace domiva::db
