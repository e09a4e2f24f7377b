#pragma once
#include "printing/listwriter.h"
#include "store/database.h"

#include <optional>

namespace domiva::payments {

// The receipt payment row `reciept` is on, on one page: its number, what
// was paid for which months (each part on its line), by whom, how, and a line for the treasurer's
// signature; a cancelled payment's receipt says so across the page.
// Nothing when there is no such payment; throws db::Error when it cannot
// be read.
std::optional<listing::Printout> receipt(const db::Store &store, qint64 reciept);

} // namespace domiva::payments
