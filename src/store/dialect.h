#pragma once
// The schema's statements are written for SQLite; a server is told them in
// its own words.
#include "store/database.h"

namespace domiva::db {

// A schema statement as the engine says it. SQLite's tables have a
// rowid, which the rules use for the order rows were added in; a server's
// tables are given one. A server's INTEGER is 32 bits, so amounts (and
// everything else) are BIGINT there.
QString forEngine(const Store &store, const char *statement);

} // namespace domiva::db
