#include "text/today.h"

namespace domiva {
namespace {
QDate pinned;
}

QDate today() { return pinned.isValid() ? pinned : QDate::currentDate(); }

void setToday(const QDate &date) { pinned = date; }
} // namespace domiva
